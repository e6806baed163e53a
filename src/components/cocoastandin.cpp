#include "cocoastandin.h"

#include <climits>
#include <cstring>
#include <mutex>
#include <unistd.h>

NSString* NSString::stringWithUTF8String(const char* utf8)
{
    if (!utf8)
        return nullptr;
    NSString* string = new NSString;
    const std::string bytes(utf8);
    bool ascii = true;
    for (unsigned char c : bytes)
        ascii = ascii && c < 0x80;
    if (ascii) {
        string->narrow = bytes;
        string->isNarrow = true;
        return string;
    }
    // Decode UTF-8 into UTF-16; malformed bytes become U+FFFD.
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = bytes[i];
        char32_t code = 0xFFFD;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c < 0x80) {
            code = c;
        } else if (extra && i + extra < bytes.size()) {
            code = c & (0x3F >> extra);
            for (int k = 1; k <= extra; ++k)
                code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        } else {
            extra = 0;
        }
        i += 1 + extra;
        if (code >= 0x10000) {
            code -= 0x10000;
            string->wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            string->wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            string->wide.push_back(static_cast<char16_t>(code));
        }
    }
    return string;
}

NSString* NSString::stringWithCharacters(const UniChar* characters, CFIndex length)
{
    NSString* string = new NSString;
    string->wide.assign(reinterpret_cast<const char16_t*>(characters), static_cast<size_t>(length));
    return string;
}

CFIndex CFStringGetLength(CFStringRef string)
{
    return static_cast<CFIndex>(string->isNarrow ? string->narrow.size() : string->wide.size());
}

const UniChar* CFStringGetCharactersPtr(CFStringRef string)
{
    return string->isNarrow ? nullptr : reinterpret_cast<const UniChar*>(string->wide.data());
}

void CFStringGetCharacters(CFStringRef string, CFRange range, UniChar* buffer)
{
    for (CFIndex i = 0; i < range.length; ++i) {
        const size_t at = static_cast<size_t>(range.location + i);
        buffer[i] = string->isNarrow ? static_cast<unsigned char>(string->narrow[at])
                                     : static_cast<UniChar>(string->wide[at]);
    }
}

NSBundle* NSBundle::mainBundle()
{
    static NSBundle bundle;
    return &bundle;
}

NSString* NSBundle::resourcePath()
{
    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);
    if (resolved)
        return path;
    resolved = true;
    // Plain POSIX: this runs during static initialisation, before any Qt
    // application object exists.
    char exe[PATH_MAX + 1];
    const ssize_t length = readlink("/proc/self/exe", exe, PATH_MAX);
    if (length <= 0)
        return path;
    exe[length] = '\0';
    std::string folder(exe);
    folder.erase(folder.rfind('/'));              // bin
    const size_t parent = folder.rfind('/');
    folder.erase(parent == std::string::npos ? 0 : parent);  // prefix
    path = NSString::stringWithUTF8String((folder + "/share/pictavo").c_str());
    return path;
}

bool NSApplicationLoad()
{
    return true;
}

NSAutoreleasePool* NSAutoreleasePool::alloc()
{
    return new NSAutoreleasePool;
}
