#include "engine/io/SystemInfoLinux.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/utsname.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "tests/io/FakeClipboard.h"

namespace {

std::string narrow(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

std::string kernelText() {
    utsname names;
    uname(&names);
    return std::string(names.sysname) + " " + names.release + " " + names.machine;
}

// A made-up system root with the files the tests put in it.
class FakeSystemRoot {
public:
    FakeSystemRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sysroot-XXXXXX").string();
        m_root = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~FakeSystemRoot() { std::filesystem::remove_all(m_root); }

    void add(const std::string& path, const std::string& text) {
        const std::filesystem::path file = m_root + path;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    CRefPointer<CSystemInfoLinux> info(IClipboard* clipboard = nullptr) const {
        return CRefPointer<CSystemInfoLinux>(
            new CSystemInfoLinux(clipboard, CString(m_root.c_str())));
    }

private:
    std::string m_root;
};

const char* const CpuFrequencyFile = "/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq";

} // namespace

TEST(SystemInfoLinuxTest, MemoryFiguresArePlausibleAgainstTheSystem) {
    CSystemInfoLinux info(nullptr);
    uint64_t total = 0;
    uint64_t available = 0;
    ASSERT_TRUE(info.getSystemMemory(&total, &available));
    const uint64_t physical = uint64_t(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 1024;
    EXPECT_EQ(total, physical);
    EXPECT_GT(available, 0u);
    EXPECT_LE(available, total);
    EXPECT_TRUE(info.getSystemMemory(nullptr, nullptr));
}

TEST(SystemInfoLinuxTest, ProcessorSpeedMatchesProcCpuinfo) {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    double listed = 0;
    while (listed == 0 && std::getline(cpuinfo, line)) {
        if (line.rfind("cpu MHz", 0) == 0)
            listed = std::stod(line.substr(line.find(':') + 1));
    }
    if (listed == 0)
        GTEST_SKIP() << "this processor lists no speed in /proc/cpuinfo";
    CSystemInfoLinux info(nullptr);
    uint32_t megahertz = 0;
    ASSERT_TRUE(info.getProcessorSpeed(&megahertz));
    EXPECT_NEAR(double(megahertz), listed, 1.0);
    EXPECT_TRUE(info.getProcessorSpeed(nullptr));
}

TEST(SystemInfoLinuxTest, VersionTextNamesTheDistributionAndTheKernel) {
    struct Case {
        const char* osRelease;
        std::string expected;
    };
    const std::string kernel = kernelText();
    const Case cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm) (" + kernel + ")"},
        {"NAME=Fedora\nVERSION='39 (Workstation \"Edition\")'\n",
         "Fedora 39 (Workstation \"Edition\") (" + kernel + ")"},
        {"PRETTY_NAME=\"Say \\\"hi\\\" \\\\ \\$HOME\"\n", "Say \"hi\" \\ $HOME (" + kernel + ")"},
        {"# nothing useful\nID=unknown\n", kernel},
        {nullptr, kernel},
    };
    for (const Case& c : cases) {
        FakeSystemRoot root;
        if (c.osRelease)
            root.add("/etc/os-release", c.osRelease);
        EXPECT_EQ(narrow(root.info()->getVersionText()), c.expected);
    }
    FakeSystemRoot fallback;
    fallback.add("/usr/lib/os-release", "PRETTY_NAME=\"Ünïcode Linux\"\n");
    EXPECT_EQ(narrow(fallback.info()->getVersionText()), "Ünïcode Linux (" + kernel + ")");
}

TEST(SystemInfoLinuxTest, ReadsMemoryAndSpeedFromTheSystemFiles) {
    struct Case {
        const char* meminfo;
        const char* cpuinfo;
        const char* cpuFrequency;
        bool memoryKnown;
        uint64_t total;
        uint64_t available;
        bool speedKnown;
        uint32_t megahertz;
    };
    const Case cases[] = {
        // Above 4 GB: no cap.
        {"MemTotal:       67108864 kB\nMemFree:  100 kB\nMemAvailable:   50331648 kB\n",
         "processor\t: 0\ncpu MHz\t\t: 2399.6\n", nullptr, true, 67108864, 50331648, true, 2400},
        // Older kernels have no MemAvailable; processors without "cpu MHz" have cpufreq.
        {"MemTotal: 2048 kB\nMemFree: 512 kB\n", "processor\t: 0\nBogoMIPS\t: 48.00\n", "1800000\n",
         true, 2048, 512, true, 1800},
        // A speed that is no speed falls back to cpufreq too.
        {"MemTotal: 2048 kB\nMemFree: 512 kB\n", "cpu MHz\t\t: -5\n", "1800000\n", true, 2048, 512,
         true, 1800},
        {"MemFree: 512 kB\n", "cpu MHz\t\t: unknown\n", nullptr, false, 0, 0, false, 0},
        {"MemTotal: lots\nMemAvailable: 1 kB\n", nullptr, "0\n", false, 0, 0, false, 0},
        {nullptr, nullptr, nullptr, false, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        FakeSystemRoot root;
        if (c.meminfo)
            root.add("/proc/meminfo", c.meminfo);
        if (c.cpuinfo)
            root.add("/proc/cpuinfo", c.cpuinfo);
        if (c.cpuFrequency)
            root.add(CpuFrequencyFile, c.cpuFrequency);
        uint64_t total = 0;
        uint64_t available = 0;
        uint32_t megahertz = 0;
        EXPECT_EQ(root.info()->getSystemMemory(&total, &available), c.memoryKnown) << c.meminfo;
        EXPECT_EQ(total, c.total);
        EXPECT_EQ(available, c.available);
        EXPECT_EQ(root.info()->getProcessorSpeed(&megahertz), c.speedKnown) << c.cpuinfo;
        EXPECT_EQ(megahertz, c.megahertz);
    }
}

TEST(SystemInfoLinuxTest, ClipboardTextTravelsAsUtf8ThroughTheWindowLayer) {
    FakeClipboard clipboard;
    CRefPointer<CSystemInfoLinux> info(new CSystemInfoLinux(&clipboard));
    info->setClipboardText(CStringW(u"Grüße € \U0001D11E"));
    EXPECT_EQ(clipboard.text, "Grüße € \U0001D11E");
    EXPECT_TRUE(info->getClipboardText() == u"Grüße € \U0001D11E");

    info->setClipboardText(CStringW());
    EXPECT_EQ(clipboard.writes, 1) << "an empty text leaves the clipboard untouched";

    clipboard.text.clear();
    EXPECT_TRUE(info->getClipboardText().isEmpty());
}

TEST(SystemInfoLinuxTest, WithoutClipboardTextReadsEmpty) {
    CRefPointer<CSystemInfoLinux> info(new CSystemInfoLinux(nullptr));
    info->setClipboardText(CStringW(u"lost"));
    EXPECT_TRUE(info->getClipboardText().isEmpty());
}
