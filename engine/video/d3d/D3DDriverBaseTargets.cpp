// The Direct3D drivers' viewport, render-target switches, screen capture and depth clear.

#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3DDriverBase.h"
#include "engine/video/d3d/D3DDriverTextureBase.h"
#include "engine/video/d3d/D3DLog.h"

void CD3DDriverBase::setViewportRect(const CPixelRect& rect) {
    CPixelRect r = rect;
    const CPixelSize screen = getDeviceScreenSize();
    const auto width = int32_t(screen.width);
    const auto height = int32_t(screen.height);
    r.right = r.right < width ? r.right : width;
    r.bottom = r.bottom < height ? r.bottom : height;
    r.left = r.left > 0 ? r.left : 0;
    r.top = r.top > 0 ? r.top : 0;
    r.top = r.top < r.bottom ? r.top : r.bottom;
    r.left = r.left < r.right ? r.left : r.right;
    D3DVIEWPORT9 viewport;
    viewport.X = uint32_t(r.left);
    viewport.Y = uint32_t(r.top);
    viewport.Width = uint32_t(r.right - r.left);
    viewport.Height = uint32_t(r.bottom - r.top);
    if (viewport.Width == 0 || viewport.Height == 0 || !m_common ||
        FAILED(m_common->SetViewport(&viewport)))
        logD3DWarning("Failed setting the viewport.");
    m_viewport = r;
}

bool CD3DDriverBase::useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                            bool clearDepthBuffer, CColor clearColor) {
    if (!m_common)
        return false;
    bool result = true;
    if (texture) {
        if (texture->getDriverKind() != m_traits.driverKind) {
            logD3DError("Fatal Error: Tried to set a texture not owned by this driver.");
            return false;
        }
        if (!texture->isRenderTarget()) {
            logD3DError("Fatal Error: Tried to set a non render target texture as render target.");
            return false;
        }
        const CPixelSize size = texture->getSize();
        const CPixelSize screen = getDeviceScreenSize();
        if (size.width > screen.width || size.height > screen.height) {
            logD3DError("Error: Tried to set a render target texture which is bigger than the "
                        "screen.");
            return false;
        }
        if (!m_savedBackBuffer) {
            IDirect3DSurface9* backBuffer = nullptr;
            if (FAILED(getRenderTarget(&backBuffer))) {
                logD3DError("Could not get previous render target.");
                return false;
            }
            m_savedBackBuffer = CRefPointer<IDirect3DSurface9>(backBuffer);
        }
        CRefPointer<IDirect3DSurface9> surface(
            static_cast<CD3DDriverTextureBase*>(texture)->getRenderTargetSurface());
        if (!surface || FAILED(setRenderTarget(surface.get()))) {
            logD3DError("Error: Could not set render target.");
            return false;
        }
        m_renderTargetSize = size;
        // The pixel projection follows the new target's size.
        m_transformChanged = true;
    } else if (m_savedBackBuffer) {
        result = restoreBackBuffer();
    }
    uint32_t flags = 0;
    if (clearBackBuffer)
        flags |= D3DCLEAR_TARGET;
    if (clearDepthBuffer)
        flags |= D3DCLEAR_ZBUFFER;
    if (flags)
        m_common->Clear(0, nullptr, flags, clearColor.value, 1.0f, 0);
    return result;
}

bool CD3DDriverBase::restoreBackBuffer() {
    const bool restored = !FAILED(setRenderTarget(m_savedBackBuffer.get()));
    if (!restored)
        logD3DError("Error: Could not set back to previous render target.");
    m_renderTargetSize = {0, 0};
    m_savedBackBuffer.reset();
    m_transformChanged = true;
    return restored;
}

CRefPointer<CSoftwareImage> CD3DDriverBase::captureScreen() {
    if (!m_common)
        return nullptr;
    const CRefPointer<IDirect3DSurface9> surface = copyFrontBuffer();
    if (!surface)
        return nullptr;
    const CPixelSize screen = getDeviceScreenSize();
    HostPoint origin{0, 0};
    if (IHostWindowSystem* host = CD3DModuleRegistry::instance().getHostWindowSystem())
        host->clientToScreen(HostWindow(m_platformData[4]), origin);
    const RECT area{origin.x, origin.y, origin.x + int32_t(screen.width),
                    origin.y + int32_t(screen.height)};
    D3DLOCKED_RECT locked;
    if (FAILED(surface->LockRect(&locked, &area, D3DLOCK_READONLY)))
        return nullptr;
    CRefPointer<CSoftwareImage> image = CSoftwareImage::create(
        CContentKey(), COLOR_FORMAT_A8R8G8B8, int32_t(screen.width), int32_t(screen.height));
    if (image) {
        const auto* source = static_cast<const uint8_t*>(locked.pBits);
        for (int32_t y = 0; y < image->getHeight(); ++y) {
            uint8_t* row = image->getData() + size_t(y) * size_t(image->getPitch());
            const uint8_t* sourceRow = source + size_t(y) * size_t(locked.Pitch);
            // The screen has no alpha: every captured pixel is opaque.
            for (int32_t x = 0; x < image->getWidth(); ++x)
                storePixel32(row + x * 4, loadPixel32(sourceRow + x * 4) | 0xFF000000u);
        }
    }
    surface->UnlockRect();
    return image;
}

void CD3DDriverBase::clearDepthBuffer() {
    if (m_common && FAILED(m_common->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0)))
        logD3DWarning(m_traits.clearDepthFailed);
}
