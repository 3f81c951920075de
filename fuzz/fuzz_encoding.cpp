// Encoding detection and the exact round trip: whatever the bytes, the text
// they are read as gives back exactly those bytes when it is saved, and so
// does every encoding the user may choose to reopen them in. Only an
// ISO-2022-JP file that ends outside ASCII gains the return to ASCII.

#include "document/document_file.h"
#include "document/text_encoding.h"
#include "fuzz_support.h"

#include <QStringDecoder>

namespace {

// UTF-8 as Qt's own decoder reads it, independent of the validator under
// test: no overlong forms, no surrogates, nothing past U+10FFFF.
bool strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

void checkSavedBack(const QByteArray& file, const DocumentFile::Text& text)
{
    if (text.unconverted || text.encoding.isEmpty()) {
        FUZZ_CHECK(text.bytes == file, file);
        FUZZ_CHECK(text.unconverted == !strictUtf8(file), file);
        return;
    }
    QByteArray saved;
    QString bad;
    FUZZ_CHECK(TextDecoding::encode(text.bytes, text.encoding, saved, bad), file);
    const bool returnAdded =
        text.encoding == QLatin1String("ISO-2022-JP") && saved == file + QByteArray("\x1b(B");
    FUZZ_CHECK(saved == file || returnAdded, file);
    FUZZ_CHECK(strictUtf8(text.bytes), file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    checkSavedBack(file, TextDecoding::decode(file));
    for (const QString& encoding : TextEncoding::shortList()) {
        DocumentFile::Text text;
        QString reason;
        if (TextDecoding::decodeAs(file, encoding, text, reason))
            checkSavedBack(file, text);
        else
            FUZZ_CHECK(!reason.isEmpty(), file);
    }
    TextEncoding::declaredCharset(file);
    return 0;
}
