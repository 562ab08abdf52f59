#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FakeD3D9Runtime;

// One named constant of the programs the fake compiler makes.
struct FakeShaderConstant {
    std::string name;
    uint32_t registerIndex = 0;
    uint32_t registerCount = 1;
};

// The extension library for tests, registered as "d3dx9_30.dll" with the entries asked for
// while it lives. A program whose text holds "error" fails with that text as its message;
// any other gives code whose first word is the text's length. Calls go to the runtime's log.
class FakeD3DX9 {
public:
    explicit FakeD3DX9(FakeD3D9Runtime& runtime, bool withAssembler = true,
                       bool withCompiler = true);
    ~FakeD3DX9();
    FakeD3DX9(const FakeD3DX9&) = delete;
    FakeD3DX9& operator=(const FakeD3DX9&) = delete;

    FakeD3D9Runtime& runtime;
    // The constants of every compiled program's table.
    std::vector<FakeShaderConstant> constants;
};
