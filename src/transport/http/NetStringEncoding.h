#pragma once
// Text encodings named by a reply's charset, as the handheld platform's
// string-encoding numbers (so 4 is UTF-8 and 5 ISO Latin 1 everywhere).
//
// Thread: pure functions; any thread.
#include <string>
#include <string_view>

enum NetStringEncoding : int {
    kNetNoStringEncoding = 0,  // the reply named none, or one we do not know
    kNetASCIIStringEncoding = 1,
    kNetUTF8StringEncoding = 4,
    kNetISOLatin1StringEncoding = 5,
    kNetUnicodeStringEncoding = 10,  // UTF-16 with a byte-order mark
    kNetWindowsCP1252StringEncoding = 12,
};

// The encoding of an IANA charset name, compared without regard to case.
NetStringEncoding netStringEncodingForCharset(std::string_view ianaName);
// The encoding named by a Content-Type field's charset parameter.
NetStringEncoding netStringEncodingForContentType(const std::string& contentType);
