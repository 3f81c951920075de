#pragma once

// Files in the Japanese encodings, with the text each holds, shared by the
// tests of decoding and of reading files.

#include <QByteArray>

inline const QByteArray kShiftJisSample =
    QByteArray::fromHex("3c703e93fa967b8cea82cc8365834c8358836781415c955c8ea687403c2f703e0d0a");
inline const char* const kShiftJisSampleText = "<p>日本語のテキスト、\\表示①</p>\r\n";
inline const QByteArray kEucJpSample =
    QByteArray::fromHex("3c703ec6fccbdcb8eca4cea5c6a5ada5b9a5c8a1a2c9bdbca8a4c7a4b93c2f703e0d0a");
inline const char* const kEucJpSampleText = "<p>日本語のテキスト、表示です</p>\r\n";
inline const QByteArray kIso2022JpSample =
    QByteArray::fromHex("1b2442467c4b5c386c244e2546252d253925481b28420d0a616263");
inline const char* const kIso2022JpSampleText = "日本語のテキスト\r\nabc";
