#pragma once

#include <QByteArray>
#include <QList>

// Texts for the server's reader of requests and the client's of answers:
// whether each is JSON (RFC 8259). No JSON one ends in a number, which a
// reader at the end of its input cannot tell finished.
inline const QList<std::tuple<const char *, QByteArray, bool>> jsonTexts{
    {"a literal", "true", true},
    {"lone high surrogate escape ending the text", R"("\ud800")", true},
    {"every escape and a lone low surrogate, white space around", R"( [ "\"\\\/\b\f\n\r\t\u00e7\udc00x" ] )", true},
    {"borderline numbers", "[-0,0.5e-3,1E+2,2.0,5e-324,1.7976931348623157e308]", true},
    {"257 levels", QByteArray(257, '[') + QByteArray(257, ']'), false},
    {"control character in a text", "[\"a\x01\"]", false},
    {"escape \\a", R"(["\a"])", false},
    {"escape \\x", R"(["\x0001"])", false},
    {"4.", "[4.]", false},
    {".5e1", "[.5e1]", false},
    {"bare minus", "[-]", false},
    {"leading zero", "[01]", false},
    {"exponent without digits", "[1e]", false},
    {"byte order mark", "\xef\xbb\xbf{}", false},
    {"trailing garbage", "{} x", false},
};
