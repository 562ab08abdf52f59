// One frame of 100 ellipse sectors and 100 sector sprites through the OpenGL driver on Mesa's
// software renderer, as the scene manager draws a tree (collect, sort, render each, 2D batch),
// beside the same triangles drawn by GL used by hand: one glDrawArrays per widget over one
// array prepared once, in the order the driver drew them, texturing turned on for the sprites
// and off for the sectors. One iteration is one frame, finished by GL. Allocations per frame
// are counted over untimed warm frames.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench/AllocationCounter.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/scene/BaseNode.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/SectorSpriteNode.h"
#include "video/RecordingRenderDriver.h"

namespace {

constexpr int kWidgets = 100;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSide = 32;
constexpr int kCountedFrames = 10;

CHostWindowSystemSdl& host() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    static CHostWindowSystemSdl system;
    return system;
}

HostWindow openWindow() {
    HostWindowDesc desc;
    desc.width = kWidth;
    desc.height = kHeight;
    return host().createWindow(desc);
}

// Four coloured quarters, opaque.
CRefPointer<CSoftwareImage> dialImage() {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, kSide, kSide);
    const uint32_t quarters[4] = {0xFFE04640u, 0xFF46BE50u, 0xFF4664E6u, 0xFFE6C83Cu};
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            storePixel32(image->getData() + (y * kSide + x) * 4,
                         quarters[(x >= kSide / 2 ? 1 : 0) + (y >= kSide / 2 ? 2 : 0)]);
    }
    return image;
}

// Sectors on the even cells of a 20 x 10 grid of 32 x 48 cells, sprites on the odd ones, at
// angles that differ from widget to widget.
CRefPointer<BaseNode> widgetTree(CAtlasTexture* image) {
    CRefPointer<BaseNode> root(new BaseNode(CContentKey(), nullptr, nullptr));
    for (int i = 0; i < 2 * kWidgets; ++i) {
        const CVector3d at(float(i % 20 * 32), float(i / 20 * 48), 0);
        const int from = i * 37 % 360;
        const int to = from + 90 + i * 53 % 270;
        if (i % 2 == 0) {
            CRefPointer<GEllipseSectorNode> sector(
                new GEllipseSectorNode(CContentKey(), root.get(), nullptr));
            sector->setPosition(at);
            sector->setBounds({30, 46, 0});
            sector->setAngle1(from);
            sector->setAngle2(to);
            sector->setFillColor(CColor(0xC0000000u | uint32_t(i * 2654435761u) >> 8));
        } else {
            CRefPointer<GSectorSpriteNode> sprite(
                new GSectorSpriteNode(CContentKey(), root.get(), nullptr));
            sprite->setPosition(at);
            sprite->setAtlasTexture(image);
            sprite->setAngle1(float(from % 180));
            sprite->setAngle2(float(from % 180 + 180));
        }
    }
    return root;
}

// The page and atlas texture of the image on the driver.
struct DialTexture {
    CRefPointer<IDriverTexture> texture;
    CRefPointer<CImageTexture> page;
    CRefPointer<CAtlasTexture> image;

    explicit DialTexture(IRenderDriver& driver) {
        texture = driver.createTexture(dialImage().get());
        page = CRefPointer<CImageTexture>(new CImageTexture(CContentKey(), u"", texture.get()));
        const CPixelSize source = texture->getSourceSize();
        const CPixelSize storage = texture->getSize();
        image = CRefPointer<CAtlasTexture>(
            new CAtlasTexture(CContentKey(), page,
                              CRect(0, 0, float(source.width) / float(storage.width),
                                    float(source.height) / float(storage.height)),
                              {}, {}));
    }
};

// A frame as the application draws one.
void drawFrame(IRenderDriver& driver, BaseNode& root, RenderList& list) {
    driver.startFrame(true, true, CColor(0xFF000000), nullptr, nullptr);
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    list.truncate(0);
    root.collectDrawables(list);
    sortRenderList(list);
    for (const Drawable& entry : list)
        entry.node->render(&driver, nullptr);
    batch.end();
    driver.presentFrame();
}

CRefPointer<COpenGLRenderDriver> openGLDriver(HostWindow window) {
    CreationParameters parameters;
    parameters.driverType = 3;
    parameters.width = kWidth;
    parameters.height = kHeight;
    parameters.bits = 32;
    parameters.windowHandle = window;
    return COpenGLRenderDriver::create(parameters, nullptr, nullptr, *host().getGL());
}

void BM_WidgetsThroughTheDriver(benchmark::State& state) {
    const HostWindow window = openWindow();
    CRefPointer<COpenGLRenderDriver> driver = openGLDriver(window);
    if (!driver) {
        state.SkipWithError("no driver");
        return;
    }
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    {
        const DialTexture dial(*driver);
        const CRefPointer<BaseNode> root = widgetTree(dial.image.get());
        RenderList list;
        drawFrame(*driver, *root, list);
        startCountingAllocations();
        for (int i = 0; i < kCountedFrames; ++i)
            drawFrame(*driver, *root, list);
        const uint64_t allocations = stopCountingAllocations();
        for (auto _ : state) {
            drawFrame(*driver, *root, list);
            driver->gl().Finish();
        }
        state.counters["allocs/frame"] = double(allocations) / kCountedFrames;
        state.counters["triangles"] = double(driver->getPrimitiveCount(0));
    }
    driver.reset();
    host().destroyWindow(window);
}

// What GL used by hand draws: screen positions, RGBA bytes, texture coordinates.
struct PlainVertex {
    float x, y, z;
    uint8_t rgba[4];
    float u, v;
};

struct PlainDraw {
    std::vector<PlainVertex> vertices;
    GLenum mode;
    bool textured;
};

// Records each draw's world matrix, so that its vertices can be put on the screen.
class CapturingDriver : public RecordingRenderDriver {
public:
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override {
        RecordingRenderDriver::setMatrix(slot, matrix);
        if (slot == TRANSFORM_WORLD)
            world = matrix;
    }
    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        worlds.push_back(world);
        RecordingRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                              vertexType, indexType, primitiveType);
    }

    CMatrix4 world;
    std::vector<CMatrix4> worlds;
};

// The widgets' triangles, on the screen, in the order the driver draws them.
std::vector<PlainDraw> capturedDraws() {
    const CRefPointer<CapturingDriver> capture(new CapturingDriver());
    const DialTexture dial(*capture);
    const CRefPointer<BaseNode> root = widgetTree(dial.image.get());
    RenderList list;
    root->collectDrawables(list);
    sortRenderList(list);
    for (const Drawable& entry : list)
        entry.node->render(capture.get(), nullptr);
    std::vector<PlainDraw> draws;
    for (size_t d = 0; d < capture->draws.size(); ++d) {
        const RecordingRenderDriver::Draw& draw = capture->draws[d];
        const CMatrix4& m = capture->worlds[d];
        PlainDraw plain{{},
                        draw.primitiveType == PRIMITIVE_TRIANGLE_FAN ? GLenum(GL_TRIANGLE_FAN)
                                                                     : GLenum(GL_TRIANGLES),
                        draw.texture != nullptr};
        for (const CVertex& v : draw.vertices) {
            const float x = v.position.x * m[0] + v.position.y * m[4] + m[12];
            const float y = v.position.x * m[1] + v.position.y * m[5] + m[13];
            plain.vertices.push_back({x,
                                      y,
                                      0,
                                      {uint8_t(v.color.getRed()), uint8_t(v.color.getGreen()),
                                       uint8_t(v.color.getBlue()), uint8_t(v.color.getAlpha())},
                                      v.texCoord.x,
                                      v.texCoord.y});
        }
        draws.push_back(std::move(plain));
    }
    return draws;
}

// On the driver's context, so that both meet the same window and swap; the driver itself does
// nothing once the state is set.
void BM_WidgetsHandWritten(benchmark::State& state) {
    const HostWindow window = openWindow();
    CRefPointer<COpenGLRenderDriver> driver = openGLDriver(window);
    if (!driver) {
        state.SkipWithError("no driver");
        return;
    }
    const GLFunctions& gl = driver->gl();
    const std::vector<PlainDraw> draws = capturedDraws();
    const CRefPointer<CSoftwareImage> image = dialImage();
    GLuint texture = 0;
    gl.GenTextures(1, &texture);
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSide, kSide, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                  image->getData());
    gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.Disable(GL_DEPTH_TEST);
    gl.Disable(GL_CULL_FACE);
    gl.Disable(GL_LIGHTING);
    // Each widget has one colour, as the widgets' materials draw it.
    gl.ShadeModel(GL_FLAT);
    gl.Viewport(0, 0, kWidth, kHeight);
    gl.MatrixMode(GL_MODELVIEW);
    gl.LoadIdentity();
    gl.MatrixMode(GL_PROJECTION);
    const GLfloat ortho[16] = {
        2.0f / kWidth, 0, 0, 0, 0, -2.0f / kHeight, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
    gl.LoadMatrixf(ortho);
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    // One array of every widget's vertices; each widget is one call over its part.
    std::vector<PlainVertex> all;
    std::vector<GLint> firsts;
    for (const PlainDraw& draw : draws) {
        firsts.push_back(GLint(all.size()));
        all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
    }
    gl.VertexPointer(3, GL_FLOAT, sizeof(PlainVertex), &all[0].x);
    gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PlainVertex), all[0].rgba);
    gl.TexCoordPointer(2, GL_FLOAT, sizeof(PlainVertex), &all[0].u);
    for (auto _ : state) {
        gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (size_t d = 0; d < draws.size(); ++d) {
            const PlainDraw& draw = draws[d];
            if (draw.textured)
                gl.Enable(GL_TEXTURE_2D);
            else
                gl.Disable(GL_TEXTURE_2D);
            gl.DrawArrays(draw.mode, firsts[d], GLsizei(draw.vertices.size()));
        }
        gl.Flush();
        host().getGL()->swapBuffers(window);
        gl.Finish();
    }
    double triangles = 0;
    for (const PlainDraw& draw : draws)
        triangles += draw.mode == GL_TRIANGLE_FAN ? double(draw.vertices.size()) - 2
                                                  : double(draw.vertices.size()) / 3;
    state.counters["triangles"] = triangles;
    gl.DeleteTextures(1, &texture);
    driver.reset();
    host().destroyWindow(window);
}

} // namespace

BENCHMARK(BM_WidgetsThroughTheDriver)->Name("WidgetFrame/vantor")->UseRealTime();
BENCHMARK(BM_WidgetsHandWritten)->Name("WidgetFrame/gl")->UseRealTime();
