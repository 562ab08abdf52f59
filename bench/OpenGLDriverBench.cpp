#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

// The OpenGL driver on Mesa's software renderer beside GL used by hand: frames of 5,000
// alpha-blended 32 x 32 sprites through the quad batcher, beside a minimal batched GL program
// drawing the same sprites from the same texture (one iteration is one frame, finished by
// GL), and the same frames through the Direct3D 9 and 8 drivers on their OpenGL runtime beside
// the OpenGL driver; the upload of a 1024 x 1024 texture, beside glTexImage2D of the same
// pixels; and the first use of such a texture (made and drawn once) through the Direct3D 9 and 8
// drivers, beside the OpenGL driver's and the bare upload.
namespace {

constexpr int kSprites = 5000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 32;

CHostWindowSystemSdl& host() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    static CHostWindowSystemSdl system;
    return system;
}

struct Sprite {
    float x;
    float y;
    CColor color;
};

std::vector<Sprite> sprites() {
    std::vector<Sprite> list;
    uint32_t seed = 12345;
    for (int i = 0; i < kSprites; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float x = float(seed % uint32_t(kWidth - kSide));
        seed = seed * 1664525u + 1013904223u;
        const float y = float(seed % uint32_t(kHeight - kSide));
        list.push_back({x, y, CColor(0xC0000000u | (seed & 0xFFFFFF))});
    }
    return list;
}

// A soft round sprite: opaque in the middle, transparent at the corners.
CRefPointer<CSoftwareImage> spriteImage() {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - kSide / 2;
            const int dy = y - kSide / 2;
            const int distance = dx * dx + dy * dy;
            const uint32_t alpha = distance >= 256 ? 0 : uint32_t(255 - distance);
            storePixel32(image->getData() + (y * kSide + x) * 4, alpha << 24 | 0xFFFFFF);
        }
    }
    return image;
}

HostWindow openWindow() {
    HostWindowDesc desc;
    desc.width = kWidth;
    desc.height = kHeight;
    return host().createWindow(desc);
}

CRefPointer<IRenderDriver> spriteDriver(int driverType, HostWindow window) {
    CreationParameters parameters;
    parameters.driverType = driverType;
    parameters.width = kWidth;
    parameters.height = kHeight;
    parameters.bits = 32;
    parameters.windowHandle = window;
    if (driverType == 3)
        return COpenGLRenderDriver::create(parameters, nullptr, nullptr, *host().getGL());
    registerGLDirect3DModules(host());
    return driverType == 1 ? createD3D8Driver(parameters, nullptr)
                           : createD3D9Driver(parameters, nullptr);
}

void spritesThroughADriver(benchmark::State& state, int driverType) {
    const HostWindow window = openWindow();
    CRefPointer<IRenderDriver> driver = spriteDriver(driverType, window);
    GLFunctions gl;
    if (!driver || !gl.load(*host().getGL())) {
        state.SkipWithError("no driver");
        return;
    }
    // Drawn at their size, sprites need no smaller levels; nor does the hand-written program.
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    CRefPointer<IDriverTexture> texture = driver->createTexture(spriteImage().get());
    CRefPointer<CImageTexture> image(new CImageTexture(CContentKey(), u"", texture.get()));
    RenderMaterial material;
    material.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
    material.lighting = false;
    // Argument 0: as text is drawn, over everything in order; 1: depth-tested as sprites are.
    const bool depth = state.range(0) != 0;
    material.depthTest = depth ? 1 : 0;
    material.depthWrite = depth;
    material.layerCount = 1;
    material.layers[0].texture = image.get();
    material.layers[0].wrapMode = 1;
    const std::vector<Sprite> list = sprites();
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    CQuadBatcher& batch = *driver->getQuadBatcher();
    for (auto _ : state) {
        driver->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr);
        batch.begin();
        for (const Sprite& sprite : list) {
            const CVector2d corners[4] = {{sprite.x, sprite.y},
                                          {sprite.x + kSide, sprite.y},
                                          {sprite.x + kSide, sprite.y + kSide},
                                          {sprite.x, sprite.y + kSide}};
            batch.addQuad(&material, corners, texCoords, 0, sprite.color);
        }
        batch.end();
        driver->presentFrame();
        gl.Finish();
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    image.reset();
    texture.reset();
    driver.reset();
    host().destroyWindow(window);
}

void BM_SpritesThroughOpenGL(benchmark::State& state) {
    spritesThroughADriver(state, 3);
}

void BM_SpritesThroughDirect3D9(benchmark::State& state) {
    spritesThroughADriver(state, 2);
}

void BM_SpritesThroughDirect3D8(benchmark::State& state) {
    spritesThroughADriver(state, 1);
}

// The same frame written directly against GL: one vertex array of all sprites, one draw.
struct PlainVertex {
    float x, y;
    uint8_t rgba[4];
    float u, v;
};

void BM_SpritesHandWritten(benchmark::State& state) {
    IHostGL& facet = *host().getGL();
    const HostWindow window = openWindow();
    HostGLPixelFormat wanted;
    const int32_t format = facet.choosePixelFormat(wanted);
    HostGLContext context = kNoHostGLContext;
    GLFunctions gl;
    if (!format || !facet.setPixelFormat(window, format) ||
        (context = facet.createContext(window)) == kNoHostGLContext ||
        !facet.makeCurrent(window, context) || !gl.load(facet)) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const CRefPointer<CSoftwareImage> image = spriteImage();
    GLuint texture = 0;
    gl.GenTextures(1, &texture);
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSide, kSide, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                  image->getData());
    gl.Enable(GL_TEXTURE_2D);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (state.range(0) != 0) {
        gl.Enable(GL_DEPTH_TEST);
        gl.DepthFunc(GL_LEQUAL);
    }
    gl.Viewport(0, 0, kWidth, kHeight);
    gl.MatrixMode(GL_PROJECTION);
    const GLfloat ortho[16] = {
        2.0f / kWidth, 0, 0, 0, 0, -2.0f / kHeight, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
    gl.LoadMatrixf(ortho);
    const std::vector<Sprite> list = sprites();
    std::vector<PlainVertex> vertices(list.size() * 4);
    std::vector<GLuint> indices;
    for (GLuint q = 0; q < list.size(); ++q) {
        for (GLuint k : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(q * 4 + k);
    }
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.VertexPointer(2, GL_FLOAT, sizeof(PlainVertex), &vertices[0].x);
    gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PlainVertex), vertices[0].rgba);
    gl.TexCoordPointer(2, GL_FLOAT, sizeof(PlainVertex), &vertices[0].u);
    for (auto _ : state) {
        gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        PlainVertex* v = vertices.data();
        for (const Sprite& sprite : list) {
            const uint8_t rgba[4] = {
                uint8_t(sprite.color.getRed()), uint8_t(sprite.color.getGreen()),
                uint8_t(sprite.color.getBlue()), uint8_t(sprite.color.getAlpha())};
            const float xs[4] = {sprite.x, sprite.x + kSide, sprite.x + kSide, sprite.x};
            const float ys[4] = {sprite.y, sprite.y, sprite.y + kSide, sprite.y + kSide};
            const float us[4] = {0, 1, 1, 0};
            const float vs[4] = {0, 0, 1, 1};
            for (int k = 0; k < 4; ++k, ++v)
                *v = {xs[k], ys[k], {rgba[0], rgba[1], rgba[2], rgba[3]}, us[k], vs[k]};
        }
        gl.DrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
        facet.swapBuffers(window);
        gl.Finish();
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    gl.DeleteTextures(1, &texture);
    facet.makeCurrent(window, kNoHostGLContext);
    facet.deleteContext(context);
    host().destroyWindow(window);
}

CreationParameters smallParameters(HostWindow window) {
    CreationParameters parameters;
    parameters.driverType = 3;
    parameters.width = 64;
    parameters.height = 48;
    parameters.bits = 32;
    parameters.windowHandle = window;
    return parameters;
}

CRefPointer<COpenGLRenderDriver> smallDriver(HostWindow window) {
    return COpenGLRenderDriver::create(smallParameters(window), nullptr, nullptr, *host().getGL());
}

CRefPointer<CSoftwareImage> uploadImage() {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, 1024, 1024);
    for (size_t i = 0; i < image->getBufferSize(); ++i)
        image->getData()[i] = uint8_t(i * 7);
    return image;
}

// Both uploads run on the driver's context, so they meet the same GL state.
void uploadTextures(benchmark::State& state, bool throughDriver) {
    const HostWindow window = host().createWindow(HostWindowDesc{"", 0, 0, 64, 48, false});
    CRefPointer<COpenGLRenderDriver> driver = smallDriver(window);
    if (!driver) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    const CRefPointer<CSoftwareImage> image = uploadImage();
    const GLFunctions& gl = driver->gl();
    for (auto _ : state) {
        if (throughDriver) {
            CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
            benchmark::DoNotOptimize(texture.get());
        } else {
            GLuint name = 0;
            gl.GenTextures(1, &name);
            gl.BindTexture(GL_TEXTURE_2D, name);
            gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1024, 1024, 0, GL_BGRA,
                          GL_UNSIGNED_INT_8_8_8_8_REV, image->getData());
            gl.DeleteTextures(1, &name);
        }
        gl.Finish();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image->getBufferSize()));
    driver.reset();
    host().destroyWindow(window);
}

void BM_UploadThroughTheDriver(benchmark::State& state) {
    uploadTextures(state, true);
}

void BM_UploadHandWritten(benchmark::State& state) {
    uploadTextures(state, false);
}

// A texture's first use as the game meets it: made from a 1024 x 1024 image and drawn once
// (a Direct3D texture reaches GL at its first draw), then released.
void createAndDrawTextures(benchmark::State& state, int driverType) {
    const HostWindow window = host().createWindow(HostWindowDesc{"", 0, 0, 64, 48, false});
    CRefPointer<IRenderDriver> driver = driverType == 3 ? smallDriver(window) : nullptr;
    if (driverType != 3) {
        CreationParameters parameters = smallParameters(window);
        parameters.driverType = driverType;
        registerGLDirect3DModules(host());
        driver = driverType == 1 ? createD3D8Driver(parameters, nullptr)
                                 : createD3D9Driver(parameters, nullptr);
    }
    GLFunctions gl;
    if (!driver || !gl.load(*host().getGL())) {
        state.SkipWithError("no driver");
        return;
    }
    // As the game makes its textures.
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, true);
    RenderMaterial material;
    material.lighting = false;
    driver->applyMaterial(material);
    const CRefPointer<CSoftwareImage> image = uploadImage();
    const auto createAndDraw = [&] {
        driver->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr);
        CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
        driver->drawImage(texture.get(), {0, 0});
        driver->presentFrame();
        gl.Finish();
    };
    // The context's first draw compiles its shaders, which is no texture's cost.
    createAndDraw();
    for (auto _ : state)
        createAndDraw();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image->getBufferSize()));
    driver.reset();
    host().destroyWindow(window);
}

void BM_CreateAndDrawThroughDirect3D9(benchmark::State& state) {
    createAndDrawTextures(state, 2);
}

void BM_CreateAndDrawThroughDirect3D8(benchmark::State& state) {
    createAndDrawTextures(state, 1);
}

void BM_CreateAndDrawThroughOpenGL(benchmark::State& state) {
    createAndDrawTextures(state, 3);
}

BENCHMARK(BM_UploadThroughTheDriver)->Name("TextureUpload1024/vantor")->UseRealTime();
BENCHMARK(BM_UploadHandWritten)->Name("TextureUpload1024/gl")->UseRealTime();
// The Direct3D drivers' first use of a texture, each beside the OpenGL driver's and a bare
// upload.
BENCHMARK(BM_CreateAndDrawThroughDirect3D9)
    ->Name("TextureFirstDraw1024Direct3D9/vantor")
    ->UseRealTime();
BENCHMARK(BM_CreateAndDrawThroughOpenGL)
    ->Name("TextureFirstDraw1024Direct3D9/opengl")
    ->UseRealTime();
BENCHMARK(BM_UploadHandWritten)->Name("TextureFirstDraw1024Direct3D9/gl")->UseRealTime();
BENCHMARK(BM_CreateAndDrawThroughDirect3D8)
    ->Name("TextureFirstDraw1024Direct3D8/vantor")
    ->UseRealTime();
BENCHMARK(BM_CreateAndDrawThroughOpenGL)
    ->Name("TextureFirstDraw1024Direct3D8/opengl")
    ->UseRealTime();
BENCHMARK(BM_UploadHandWritten)->Name("TextureFirstDraw1024Direct3D8/gl")->UseRealTime();
BENCHMARK(BM_SpritesThroughOpenGL)->Name("SpriteFrame/vantor")->Arg(0)->Arg(1)->UseRealTime();
// The Direct3D drivers, each beside the OpenGL driver drawing the same frames.
BENCHMARK(BM_SpritesThroughDirect3D9)
    ->Name("SpriteFrameDirect3D9/vantor")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime();
BENCHMARK(BM_SpritesThroughOpenGL)
    ->Name("SpriteFrameDirect3D9/opengl")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime();
BENCHMARK(BM_SpritesThroughDirect3D8)
    ->Name("SpriteFrameDirect3D8/vantor")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime();
BENCHMARK(BM_SpritesThroughOpenGL)
    ->Name("SpriteFrameDirect3D8/opengl")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime();
BENCHMARK(BM_SpritesHandWritten)->Name("SpriteFrame/gl")->Arg(0)->Arg(1)->UseRealTime();

} // namespace
