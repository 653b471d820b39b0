#pragma once

// Round-trip check shared by the fuzz target and the corpus replay test:
// whatever loads must write without control bytes (as printable ASCII when
// every string is valid UTF-8), load again, and come back as the same records.

#include "projectfilelist.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vexa {
namespace projectfilemgr {
namespace fuzzcheck {

// Whether s is valid UTF-8 without NUL; written independently of the writer
// so the check does not share its faults.
inline bool isValidText(const std::string &s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b == 0)
            break;
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        std::uint32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            len = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            cp = b & 0x07;
        } else {
            break;
        }
        if (n - i < len)
            break;
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        const std::uint32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
        if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            break;
        i += len;
    }
    return i == n;
}

// nullptr when the input either fails to load with a well-formed report or
// survives write and read unchanged; otherwise what went wrong.
inline const char *checkRoundTrip(const std::uint8_t *data, std::size_t size)
{
    STProjectFileList first;
    try {
        ajson::loadFromBuffer(first, reinterpret_cast<const char *>(data), size);
    } catch (const ajson::exception &e) {
        return std::strncmp(e.what(), "error at line :", 15) == 0 ? nullptr : "malformed error report";
    }
    bool allValid = true;
    for (const STProjectFile &f : first.projects)
        allValid = allValid && isValidText(f.strProfileName) && isValidText(f.strProfilePath) && isValidText(f.strImagePath);
    const std::string text = ajson::toJson(first);
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (allValid && b > 0x7F))
            return "written text holds a control byte or, from valid text, a byte beyond ASCII";
    }
    STProjectFileList second;
    try {
        ajson::loadFromBuffer(second, text.data(), text.size());
    } catch (const ajson::exception &) {
        return "written text does not load";
    }
    if (second.projects.size() != first.projects.size())
        return "record count changed";
    for (std::size_t i = 0; i < first.projects.size(); ++i) {
        const STProjectFile &a = first.projects[i];
        const STProjectFile &b = second.projects[i];
        if (b.strProfileName != a.strProfileName || b.strProfilePath != a.strProfilePath
            || b.strImagePath != a.strImagePath || b.isDamageFile != a.isDamageFile)
            return "record changed";
    }
    if (ajson::toJson(second) != text)
        return "second write differs";
    return nullptr;
}

} // namespace fuzzcheck
} // namespace projectfilemgr
} // namespace vexa
