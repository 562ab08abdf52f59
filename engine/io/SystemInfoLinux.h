#pragma once

#include "engine/core/String.h"
#include "engine/io/IClipboard.h"
#include "engine/io/ISystemInfo.h"

// Answers from uname, /etc/os-release, /proc/cpuinfo and /proc/meminfo; the clipboard goes
// through the window layer's IClipboard.
class CSystemInfoLinux : public ISystemInfo {
public:
    // Without a clipboard, clipboard text reads empty and writes go nowhere. The clipboard is
    // not owned and must outlive this object. The system files are read below rootFolder
    // ("" for the real system).
    explicit CSystemInfoLinux(IClipboard* clipboard, const CString& rootFolder = CString());

    // "PRETTY_NAME (kernel name, release, machine)", e.g.
    // "Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-18-amd64 x86_64)".
    CStringW getVersionText() override;
    void setClipboardText(const CStringW& text) override;
    CStringW getClipboardText() override;
    // The first processor's "cpu MHz", else its highest frequency from cpufreq.
    bool getProcessorSpeed(uint32_t* megahertz) override;
    // MemTotal and MemAvailable (MemFree on kernels without it), in kilobytes.
    bool getSystemMemory(uint64_t* totalKilobytes, uint64_t* availableKilobytes) override;

private:
    bool readSystemFile(const char* path, CString& text) const;
    CString readDistributionName() const;

    IClipboard* m_clipboard;
    CString m_rootFolder;
};
