#pragma once

// A small stand-in for the few CoreFoundation, Foundation and AppKit calls the
// folder helpers make, so that they build and run where there is no Cocoa.
// The main bundle is the folder share/pictavo beside the executable's folder.

#include <string>

typedef long CFIndex;
typedef unsigned short UniChar;

struct CFRange {
    CFIndex location;
    CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length) { return CFRange{location, length}; }

// NSString and CFStringRef are one object ("toll-free bridged"). Like
// CoreFoundation, a string of ASCII characters is kept in 8 bits and has no
// direct pointer to UTF-16 units; any other string is kept in UTF-16.
class NSString {
public:
    static NSString* stringWithUTF8String(const char* utf8);
    static NSString* stringWithCharacters(const UniChar* characters, CFIndex length);
    void release() { delete this; }

private:
    NSString() = default;
    friend CFIndex CFStringGetLength(const NSString*);
    friend const UniChar* CFStringGetCharactersPtr(const NSString*);
    friend void CFStringGetCharacters(const NSString*, CFRange, UniChar*);
    std::string narrow;
    std::u16string wide;
    bool isNarrow = false;
};
typedef const NSString* CFStringRef;

CFIndex CFStringGetLength(CFStringRef string);
const UniChar* CFStringGetCharactersPtr(CFStringRef string);
void CFStringGetCharacters(CFStringRef string, CFRange range, UniChar* buffer);

class NSBundle {
public:
    static NSBundle* mainBundle();
    // The bundle keeps the string; null when the executable cannot be found.
    NSString* resourcePath();

private:
    NSBundle() = default;
    NSString* path = nullptr;
    bool resolved = false;
};

bool NSApplicationLoad();

class NSAutoreleasePool {
public:
    static NSAutoreleasePool* alloc();
    NSAutoreleasePool* init() { return this; }
    void release() { delete this; }

private:
    NSAutoreleasePool() = default;
};
