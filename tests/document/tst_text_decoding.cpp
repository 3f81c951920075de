#include "document/encoding_samples.h"
#include "document/text_decoding.h"
#include "document/text_encoding.h"
#include "test_support.h"

// The rules of decoding and encoding a file's text, without files: the
// encoding a page declares, a chosen encoding, the character that does not
// fit, the UTF-8 characters an unconverted text gains.
class TestTextDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iso2022JpSavesEndInAscii_data()
    {
        QTest::addColumn<QByteArray>("fileBytes");
        QTest::addColumn<QByteArray>("savedBytes");
        const QByteArray kanji = QByteArray::fromHex("1b2442467c4b5c");
        QTest::newRow("return to ascii left out") << "abc" + kanji << "abc" + kanji + "\x1b(B";
        QTest::newRow("return to ascii at the very end") << kanji + "\x1b(B" << kanji + "\x1b(B";
        QTest::newRow("text after the return") << kanji + "\x1b(B\r\n" << kanji + "\x1b(B\r\n";
    }

    // A file in ISO-2022-JP is read as such even when it ends in the kanji
    // state; saved, it always ends in ASCII.
    void iso2022JpSavesEndInAscii()
    {
        QFETCH(QByteArray, fileBytes);
        QFETCH(QByteArray, savedBytes);
        const TextDecoding::Text text = TextDecoding::decode(fileBytes);
        QCOMPARE(text.encoding, QStringLiteral("ISO-2022-JP"));
        QByteArray bytes;
        QString bad;
        QVERIFY(TextDecoding::encode(text.bytes + "日本", text.encoding, bytes, bad));
        QVERIFY2(bytes.endsWith("\x1b(B"), bytes.toHex().constData());
        QVERIFY(TextDecoding::encode(text.bytes, text.encoding, bytes, bad));
        QCOMPARE(bytes, savedBytes);
    }

    void declaredCharset_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("html 5 meta")
            << QByteArray("<html><head><meta charset=\"EUC-JP\">") << QByteArray("EUC-JP");
        QTest::newRow("http-equiv, upper case")
            << QByteArray("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "CHARSET=x-sjis\">")
            << QByteArray("x-sjis");
        QTest::newRow("unquoted, spaces around =")
            << QByteArray("<meta charset = latin1 >") << QByteArray("latin1");
        QTest::newRow("xml declaration")
            << QByteArray("<?xml version='1.0' encoding='KOI8-R'?>") << QByteArray("KOI8-R");
        QTest::newRow("xml declaration not at the start")
            << QByteArray("\n<?xml version='1.0' encoding='KOI8-R'?>") << QByteArray();
        QTest::newRow("charset outside a meta tag")
            << QByteArray("<p>charset=EUC-JP</p><meta name=x>") << QByteArray();
        QTest::newRow("meta without charset")
            << QByteArray("<meta name=\"charset\" content=\"x\">") << QByteArray();
        QTest::newRow("unfinished meta at the end")
            << QByteArray("<meta charset=\"Big5") << QByteArray("Big5");
        QTest::newRow("beyond the first 4 KB")
            << QByteArray(4096, ' ') + "<meta charset=EUC-JP>" << QByteArray();
        QTest::newRow("nothing after =") << QByteArray("<meta charset=>") << QByteArray();
    }

    void declaredCharset()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, name);
        QCOMPARE(TextEncoding::declaredCharset(head), name);
    }

    // The declaration rewritten for the encoding a save writes: the name
    // alone replaced, and left as it is when it names that encoding.
    void declarationChange_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("written"); // empty: UTF-8
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("shift_jis page written as utf-8")
            << QByteArray("<meta charset=\"Shift_JIS\"><p>日本</p>") << ""
            << QByteArray("<meta charset=\"UTF-8\"><p>日本</p>");
        QTest::newRow("http-equiv written as euc-jp")
            << QByteArray("<META HTTP-EQUIV=Content-Type CONTENT=\"text/html; charset=utf-8\">")
            << "EUC-JP"
            << QByteArray("<META HTTP-EQUIV=Content-Type CONTENT=\"text/html; charset=EUC-JP\">");
        QTest::newRow("xml declaration written as utf-16")
            << QByteArray("<?xml version='1.0' encoding='EUC-JP'?><a/>") << "UTF-16BE"
            << QByteArray("<?xml version='1.0' encoding='UTF-16'?><a/>");
        QTest::newRow("another spelling of the same encoding")
            << QByteArray("<meta charset=x-sjis>") << "Shift_JIS"
            << QByteArray("<meta charset=x-sjis>");
        QTest::newRow("utf-16 without its byte order")
            << QByteArray("<meta charset=utf-16>") << "UTF-16LE"
            << QByteArray("<meta charset=utf-16>");
        QTest::newRow("an unknown name")
            << QByteArray("<meta charset=klingon>") << "" << QByteArray("<meta charset=UTF-8>");
        QTest::newRow("nothing declared")
            << QByteArray("<p>charset=EUC-JP</p>") << "" << QByteArray("<p>charset=EUC-JP</p>");
    }

    void declarationChange()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, written);
        QFETCH(QByteArray, result);
        const TextDecoding::DeclarationChange change =
            TextDecoding::declarationChange(text, written);
        if (change.offset >= 0)
            text.replace(change.offset, change.length, change.name);
        QCOMPARE(text, result);
    }

    void decodeAs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("encoding"); // "-": refused

        const QByteArray eucKana = QByteArray::fromHex("8eb18eb2");
        QTest::newRow("euc-jp read as shift_jis") << eucKana << "Shift_JIS"
                                                  << "Shift_JIS";
        QTest::newRow("shift_jis read as euc-jp") << kShiftJisSample << "EUC-JP"
                                                  << "-";
        QTest::newRow("utf-8 as utf-8") << QByteArray("日本") << "UTF-8"
                                        << "";
        QTest::newRow("shift_jis as utf-8") << kShiftJisSample << "UTF-8"
                                            << "-";
        QTest::newRow("utf-16 with byte-order mark")
            << QByteArray::fromHex("fffe41004200") << "UTF-16"
            << "UTF-16LE";
        QTest::newRow("utf-16 without byte-order mark")
            << QByteArray::fromHex("41004200") << "UTF-16"
            << "-";
        QTest::newRow("latin-1") << kShiftJisSample << "ISO-8859-1"
                                 << "ISO-8859-1";
        QTest::newRow("windows-1252") << QByteArray("\x93q\x94") << "Windows-1252"
                                      << "Windows-1252";
        QTest::newRow("iso-2022-jp") << kIso2022JpSample << "ISO-2022-JP"
                                     << "ISO-2022-JP";
        QTest::newRow("8-bit bytes as iso-2022-jp") << kEucJpSample << "ISO-2022-JP"
                                                    << "-";
    }

    // Reopening in a chosen encoding is refused unless that encoding gives
    // back the file's bytes.
    void decodeAs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, chosen);
        QFETCH(QString, encoding);
        TextDecoding::Text text{"unchanged", QStringLiteral("x"), false};
        QString reason;
        const bool ok = TextDecoding::decodeAs(bytes, chosen, text, reason);
        QCOMPARE(ok ? text.encoding : QStringLiteral("-"), encoding);
        QCOMPARE(reason.isEmpty(), ok);
    }

    void unencodableCharacterIsNamedWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("named");
        QTest::newRow("wave dash on line 3 after lf and cr lf")
            << QByteArray("a\nb\r\nc〜") << "Shift_JIS"
            << "「〜」(U+301C、3 行目)";
        QTest::newRow("emoji after a lone cr") << QByteArray("x\ry😀") << "EUC-JP"
                                               << "「😀」(U+1F600、2 行目)";
        QTest::newRow("half-width katakana in iso-2022-jp") << QByteArray("ｱ") << "ISO-2022-JP"
                                                            << "「ｱ」(U+FF71、1 行目)";
        QTest::newRow("euro sign in latin-1") << QByteArray("\n\n€") << "ISO-8859-1"
                                              << "「€」(U+20AC、3 行目)";
        QTest::newRow("undecodable byte") << QByteArray("ab\n\xff") << "Shift_JIS"
                                          << "文字として読めないバイト 0xFF (2 行目)";
        QTest::newRow("undecodable byte saved as utf-8")
            << QByteArray("\x82\xa0") << "UTF-8"
            << "文字として読めないバイト 0x82 (1 行目)";
    }

    void unencodableCharacterIsNamedWithItsLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, encoding);
        QFETCH(QString, named);
        QByteArray bytes = "unchanged";
        QString bad;
        QVERIFY(!TextDecoding::encode(text, encoding, bytes, bad));
        QCOMPARE(bad, named);
    }

    void addsUtf8Characters_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("edited");
        QTest::addColumn<bool>("adds");
        const QByteArray raw = "\x82\xa0 caf\xc3\xa9 \xff";
        QTest::newRow("unchanged") << raw << raw << false;
        QTest::newRow("ascii typed") << raw << "<p>" + raw + "</p>" << false;
        QTest::newRow("existing character deleted")
            << raw << QByteArray("\x82\xa0 caf \xff") << false;
        QTest::newRow("japanese typed") << raw << raw + "日本" << true;
        QTest::newRow("existing character typed again") << raw << raw + "é" << true;
        QTest::newRow("deleting a byte joins a character")
            << QByteArray("\xc3-\xa9") << QByteArray("\xc3\xa9") << true;
    }

    void addsUtf8Characters()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, edited);
        QFETCH(bool, adds);
        QCOMPARE(TextDecoding::addsUtf8Characters(TextDecoding::utf8Characters(original), edited),
                 adds);
    }

    // A file larger than the control can address is refused before anything
    // is read, naming the reason; a file that cannot get the memory it needs
    // is refused the same way.
};

MARQUILL_TEST_MAIN(TestTextDecoding)
#include "tst_text_decoding.moc"
