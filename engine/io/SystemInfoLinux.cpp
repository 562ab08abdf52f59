#include "engine/io/SystemInfoLinux.h"

#include <cstring>
#include <sys/utsname.h>

#include "engine/core/StringFunctions.h"
#include "engine/core/Utf.h"
#include "engine/io/PosixTextFile.h"

namespace {

// The value of the first "key<separator>value" line whose trimmed key matches, trimmed.
bool findValue(const CString& text, const char* key, char separator, CString& value) {
    const char* line = text.c_str();
    while (*line) {
        const char* end = std::strchr(line, '\n');
        const uint32_t lineLength = end ? uint32_t(end - line) : uint32_t(std::strlen(line));
        const char* split = static_cast<const char*>(std::memchr(line, separator, lineLength));
        if (split) {
            const uint32_t start = uint32_t(line - text.c_str());
            CString lineKey = text.subString(start, uint32_t(split - line));
            lineKey.trim();
            if (lineKey == key) {
                value = text.subString(uint32_t(split + 1 - text.c_str()),
                                       lineLength - uint32_t(split + 1 - line));
                value.trim();
                return true;
            }
        }
        line += lineLength + (end ? 1 : 0);
    }
    return false;
}

bool parseWholeNumber(const CString& text, uint64_t& number) {
    const char* digit = text.c_str();
    if (*digit < '0' || *digit > '9')
        return false;
    number = 0;
    for (; *digit >= '0' && *digit <= '9'; ++digit)
        number = number * 10 + uint64_t(*digit - '0');
    return true;
}

// os-release values are shell words: quoted with ' or ", with backslash escapes inside "".
CString unquote(const CString& value) {
    const char quote = value[0];
    if (value.length() < 2 || (quote != '"' && quote != '\'') || value[value.length() - 1] != quote)
        return value;
    CString result;
    char piece[2] = {0, 0};
    for (uint32_t i = 1; i + 1 < value.length(); ++i) {
        if (quote == '"' && value[i] == '\\' && i + 2 < value.length())
            ++i;
        piece[0] = value[i];
        result.append(piece);
    }
    return result;
}

} // namespace

CSystemInfoLinux::CSystemInfoLinux(IClipboard* clipboard, const CString& rootFolder)
    : m_clipboard(clipboard), m_rootFolder(rootFolder) {}

CStringW CSystemInfoLinux::getVersionText() {
    CString text = readDistributionName();
    utsname names;
    if (uname(&names) == 0) {
        CString kernel(names.sysname);
        kernel.append(" ").append(names.release).append(" ").append(names.machine);
        text = text.isEmpty() ? kernel : text + " (" + kernel + ")";
    }
    return utf8ToUtf16(text.c_str());
}

void CSystemInfoLinux::setClipboardText(const CStringW& text) {
    if (m_clipboard && !text.isEmpty())
        m_clipboard->setText(utf16ToUtf8(text.c_str()));
}

CStringW CSystemInfoLinux::getClipboardText() {
    return m_clipboard ? utf8ToUtf16(m_clipboard->getText().c_str()) : CStringW();
}

bool CSystemInfoLinux::getProcessorSpeed(uint32_t* megahertz) {
    CString text;
    CString value;
    float speed = 0;
    uint64_t kilohertz = 0;
    if (readSystemFile("/proc/cpuinfo", text) && findValue(text, "cpu MHz", ':', value) &&
        parseFloat(value.c_str(), speed) != value.c_str() && speed > 0.f) {
        kilohertz = uint64_t(speed * 1000.f);
    } else if (!readSystemFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", text) ||
               !parseWholeNumber(text, kilohertz)) {
        return false;
    }
    if (kilohertz == 0)
        return false;
    if (megahertz)
        *megahertz = uint32_t((kilohertz + 500) / 1000);
    return true;
}

bool CSystemInfoLinux::getSystemMemory(uint64_t* totalKilobytes, uint64_t* availableKilobytes) {
    CString text;
    CString total;
    CString available;
    uint64_t totalNumber = 0;
    uint64_t availableNumber = 0;
    if (!readSystemFile("/proc/meminfo", text) || !findValue(text, "MemTotal", ':', total) ||
        !parseWholeNumber(total, totalNumber))
        return false;
    if (!findValue(text, "MemAvailable", ':', available) &&
        !findValue(text, "MemFree", ':', available))
        return false;
    if (!parseWholeNumber(available, availableNumber))
        return false;
    if (totalKilobytes)
        *totalKilobytes = totalNumber;
    if (availableKilobytes)
        *availableKilobytes = availableNumber;
    return true;
}

bool CSystemInfoLinux::readSystemFile(const char* path, CString& text) const {
    return readSmallTextFile((m_rootFolder + path).c_str(), text);
}

CString CSystemInfoLinux::readDistributionName() const {
    CString text;
    if (!readSystemFile("/etc/os-release", text) && !readSystemFile("/usr/lib/os-release", text))
        return CString();
    CString value;
    if (findValue(text, "PRETTY_NAME", '=', value))
        return unquote(value);
    if (!findValue(text, "NAME", '=', value))
        return CString();
    CString name = unquote(value);
    if (findValue(text, "VERSION", '=', value))
        name.append(" ").append(unquote(value));
    return name;
}
