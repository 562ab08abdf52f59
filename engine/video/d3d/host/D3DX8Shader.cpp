#include "engine/video/d3d/host/D3DX8Shader.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Instruction {
    const char* name;
    uint32_t operands;
};

const Instruction kVertexInstructions[] = {
    {"nop", 0},  {"mov", 2},  {"add", 3},  {"sub", 3},  {"mad", 4},  {"mul", 3},  {"rcp", 2},
    {"rsq", 2},  {"dp3", 3},  {"dp4", 3},  {"min", 3},  {"max", 3},  {"slt", 3},  {"sge", 3},
    {"exp", 2},  {"log", 2},  {"lit", 2},  {"dst", 3},  {"frc", 2},  {"expp", 2}, {"logp", 2},
    {"m4x4", 3}, {"m4x3", 3}, {"m3x4", 3}, {"m3x3", 3}, {"m3x2", 3}, {"def", 5},
};

const Instruction kPixelInstructions[] = {
    {"nop", 0},        {"mov", 2},        {"add", 3},          {"sub", 3},
    {"mad", 4},        {"mul", 3},        {"lrp", 4},          {"dp3", 3},
    {"dp4", 3},        {"cnd", 4},        {"cmp", 4},          {"bem", 3},
    {"tex", 1},        {"texcoord", 1},   {"texkill", 1},      {"texbem", 2},
    {"texbeml", 2},    {"texreg2ar", 2},  {"texreg2gb", 2},    {"texm3x2pad", 2},
    {"texm3x2tex", 2}, {"texm3x3pad", 2}, {"texm3x3tex", 2},   {"texm3x3spec", 3},
    {"texcrd", 2},     {"texld", 2},      {"texm3x3vspec", 2}, {"phase", 0},
    {"def", 5},
};

constexpr uint32_t kEndToken = 0x0000FFFF;

class CD3DXBuffer : public ID3DXBuffer {
public:
    CD3DXBuffer(const void* data, uint32_t size) : m_bytes(new uint8_t[size]), m_size(size) {
        std::memcpy(m_bytes.get(), data, size);
    }

    void* GetBufferPointer() override { return m_bytes.get(); }
    uint32_t GetBufferSize() override { return m_size; }

private:
    std::unique_ptr<uint8_t[]> m_bytes;
    uint32_t m_size;
};

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The line without its comment.
std::string_view statementOf(std::string_view line) {
    const size_t semicolon = line.find(';');
    const size_t slashes = line.find("//");
    return trimmed(line.substr(0, semicolon < slashes ? semicolon : slashes));
}

// The version token of "vs.1.1" and its kin, or 0.
uint32_t versionTokenOf(std::string_view text) {
    if (text.size() != 6 || text[2] != '.' || text[4] != '.' || text[3] != '1')
        return 0;
    const uint32_t minor = uint32_t(text[5] - '0');
    if (text.substr(0, 2) == "vs" && minor <= 1)
        return D3DVS_VERSION(1, minor);
    if (text.substr(0, 2) == "ps" && minor <= 4)
        return D3DPS_VERSION(1, minor);
    return 0;
}

uint32_t operandCountOf(std::string_view operands) {
    if (operands.empty())
        return 0;
    uint32_t count = 1;
    for (const char c : operands)
        count += c == ',' ? 1 : 0;
    return count;
}

class Assembler {
public:
    void assemble(std::string_view source) {
        uint32_t lineNumber = 0;
        size_t start = 0;
        while (start <= source.size()) {
            const size_t end = std::min(source.find('\n', start), source.size());
            ++lineNumber;
            const std::string_view statement = statementOf(source.substr(start, end - start));
            if (!statement.empty())
                assembleStatement(statement, lineNumber);
            start = end + 1;
        }
        if (!m_started)
            report(lineNumber, "missing version declaration");
    }

    bool failed() const { return !m_messages.empty(); }
    std::vector<uint32_t> code() const {
        std::vector<uint32_t> result = m_code;
        result.push_back(kEndToken);
        return result;
    }
    std::string messages() const { return std::string(kD3DX8AssemblerName) + "\n" + m_messages; }

private:
    void assembleStatement(std::string_view statement, uint32_t lineNumber) {
        const size_t space = statement.find_first_of(" \t");
        std::string_view name = statement.substr(0, space);
        const std::string_view operands =
            space == std::string_view::npos ? std::string_view() : trimmed(statement.substr(space));
        if (!m_started) {
            m_started = true;
            const uint32_t version = versionTokenOf(name);
            if (version == 0 || !operands.empty())
                report(lineNumber, "missing version declaration");
            else
                m_code.push_back(version);
            m_pixel = (version & 0xFFFF0000u) == 0xFFFF0000u;
            return;
        }
        // Co-issue marks and result modifiers (_sat, _x2, ...) do not change the instruction.
        if (!name.empty() && name[0] == '+')
            name.remove_prefix(1);
        name = name.substr(0, name.find('_'));
        const Instruction* instruction = find(name);
        if (!instruction) {
            report(lineNumber, "unknown instruction '" + std::string(name) + "'");
            return;
        }
        if (operandCountOf(operands) != instruction->operands) {
            report(lineNumber, "'" + std::string(name) + "' takes " +
                                   std::to_string(instruction->operands) + " operands");
            return;
        }
        m_code.push_back(uint32_t(instruction - first()) + 1);
    }

    const Instruction* first() const { return m_pixel ? kPixelInstructions : kVertexInstructions; }

    const Instruction* find(std::string_view name) const {
        const size_t count =
            m_pixel ? std::size(kPixelInstructions) : std::size(kVertexInstructions);
        for (size_t i = 0; i < count; ++i) {
            if (name == first()[i].name)
                return &first()[i];
        }
        return nullptr;
    }

    void report(uint32_t lineNumber, const std::string& text) {
        m_messages += "(" + std::to_string(lineNumber) + "): error: " + text + "\n";
    }

    std::vector<uint32_t> m_code;
    std::string m_messages;
    bool m_started = false;
    bool m_pixel = false;
};

} // namespace

HRESULT D3DXAssembleShader(const void* source, uint32_t sourceLength, uint32_t,
                           ID3DXBuffer** constants, ID3DXBuffer** code, ID3DXBuffer** errors) {
    if (constants)
        *constants = nullptr;
    *code = nullptr;
    if (errors)
        *errors = nullptr;
    if (!source)
        return D3DERR_INVALIDCALL;
    Assembler assembler;
    assembler.assemble(std::string_view(static_cast<const char*>(source), sourceLength));
    if (assembler.failed()) {
        const std::string messages = assembler.messages();
        if (errors)
            *errors = new CD3DXBuffer(messages.c_str(), uint32_t(messages.size() + 1));
        return D3DERR_INVALIDCALL;
    }
    const std::vector<uint32_t> tokens = assembler.code();
    *code = new CD3DXBuffer(tokens.data(), uint32_t(tokens.size() * sizeof(uint32_t)));
    return D3D_OK;
}
