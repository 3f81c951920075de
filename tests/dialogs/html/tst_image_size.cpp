// The image size reader: crafted GIF and JPEG byte sequences, the committed
// sample files, and real image files on this machine compared with
// ImageMagick's identify.

#include "test_support.h"

#include "dialogs/html/image_size.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QImageWriter>
#include <QProcess>

using ImageSize::Format;

Q_DECLARE_METATYPE(ImageSize::Format)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QByteArray be16(int v)
{
    return bytes({(v >> 8) & 0xFF, v & 0xFF});
}

// A marker segment with its length field.
QByteArray segment(int marker, const QByteArray& payload)
{
    return bytes({0xFF, marker}) + be16(payload.size() + 2) + payload;
}

// A frame header (any start-of-frame kind) for a three-component image.
QByteArray frame(int marker, int height, int width)
{
    QByteArray payload = bytes({8}) + be16(height) + be16(width) + bytes({3});
    for (int c = 1; c <= 3; ++c)
        payload += bytes({c, 0x11, 0});
    return segment(marker, payload);
}

const QByteArray kSoi = bytes({0xFF, 0xD8});
const QByteArray kEoi = bytes({0xFF, 0xD9});
const QByteArray kApp0 = segment(0xE0, QByteArray("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
const QByteArray kDqt = segment(0xDB, QByteArray(65, '\x01'));
const QByteArray kDht = segment(0xC4, bytes({0x00}) + QByteArray(16, '\0'));
const QByteArray kSos = segment(0xDA, bytes({1, 1, 0, 0, 63, 0})) + bytes({0x12, 0x34});

// A small but complete JPEG thumbnail, as cameras put into APP1.
QByteArray thumbnail(int height, int width)
{
    return kSoi + kDqt + frame(0xC0, height, width) + kSos + kEoi;
}

QByteArray exifApp1(const QByteArray& embedded)
{
    return segment(0xE1, QByteArray("Exif\0\0", 6) + QByteArray("II*\0", 4) + embedded);
}

QByteArray gif(int width, int height)
{
    return QByteArray("GIF89a") + bytes({width & 0xFF, width >> 8, height & 0xFF, height >> 8}) +
           bytes({0xF0, 0, 0}) + QByteArray(9, '\0') + bytes({0x3B});
}

// Runs identify on a file; empty when ImageMagick is missing or fails.
QString identify(const QString& path, const QString& format)
{
    QProcess p;
    p.start(QStringLiteral("identify"), {QStringLiteral("-format"), format, path + "[0]"});
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool identifyAvailable()
{
    QProcess p;
    p.start(QStringLiteral("identify"), {QStringLiteral("-version")});
    return p.waitForFinished(20000) && p.exitCode() == 0;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

} // namespace

class TestImageSize : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crafted_data();
    void crafted();
    void neverReadsPastTheEnd();
    void committedSamples_data();
    void committedSamples();
    void qtWrittenJpegsAgreeWithIdentify();
    void machineImagesAgreeWithIdentify();
};

void TestImageSize::crafted_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Format>("format");
    QTest::addColumn<bool>("hasSize");
    QTest::addColumn<uint>("width");
    QTest::addColumn<uint>("height");

    QTest::newRow("gif 320x200") << gif(320, 200) << Format::Gif << true << 320u << 200u;
    QTest::newRow("gif sizes are little-endian")
        << gif(0x1234, 0xABCD) << Format::Gif << true << 0x1234u << 0xABCDu;
    QTest::newRow("GIF without the rest of the signature")
        << QByteArray("GIFxyz") + bytes({10, 0, 20, 0}) << Format::Gif << true << 10u << 20u;
    QTest::newRow("gif of exactly 10 bytes")
        << QByteArray("GIF87a") + bytes({1, 0, 2, 0}) << Format::Gif << true << 1u << 2u;
    QTest::newRow("gif cut after the width")
        << QByteArray("GIF89a") + bytes({1, 0, 2}) << Format::Gif << false << 0u << 0u;
    QTest::newRow("just GIF") << QByteArray("GIF") << Format::Gif << false << 0u << 0u;

    QTest::newRow("baseline jpeg")
        << kSoi + kApp0 + kDqt + frame(0xC0, 480, 640) + kDht + kSos + kEoi << Format::Jpeg << true
        << 640u << 480u;
    QTest::newRow("progressive jpeg") << kSoi + kApp0 + kDqt + frame(0xC2, 600, 800) + kSos + kEoi
                                      << Format::Jpeg << true << 800u << 600u;
    QTest::newRow("extended sequential")
        << kSoi + frame(0xC1, 7, 9) + kSos << Format::Jpeg << true << 9u << 7u;
    QTest::newRow("lossless") << kSoi + frame(0xC3, 5, 6) << Format::Jpeg << true << 6u << 5u;
    QTest::newRow("arithmetic progressive")
        << kSoi + frame(0xCA, 11, 12) << Format::Jpeg << true << 12u << 11u;
    QTest::newRow("huffman, JPG and arithmetic tables are no frames")
        << kSoi + kDht + segment(0xC8, bytes({0xFF, 0xC0, 0, 17, 8, 0, 1, 0, 1})) +
               segment(0xCC, bytes({0, 0})) + frame(0xC0, 300, 400) + kSos
        << Format::Jpeg << true << 400u << 300u;
    QTest::newRow("exif thumbnail before the frame")
        << kSoi + exifApp1(thumbnail(120, 160)) + kDqt + frame(0xC0, 3000, 4000) + kSos + kEoi
        << Format::Jpeg << true << 4000u << 3000u;
    QTest::newRow("thumbnail and a progressive frame")
        << kSoi + exifApp1(thumbnail(120, 160)) + frame(0xC2, 1080, 1920) + kSos + kEoi
        << Format::Jpeg << true << 1920u << 1080u;
    QTest::newRow("fill bytes before markers")
        << kSoi + bytes({0xFF, 0xFF}) + kApp0 + bytes({0xFF}) + frame(0xC0, 2, 3) << Format::Jpeg
        << true << 3u << 2u;
    QTest::newRow("restart markers stand alone")
        << kSoi + bytes({0xFF, 0xD0, 0xFF, 0x01}) + frame(0xC0, 4, 5) << Format::Jpeg << true << 5u
        << 4u;

    QTest::newRow("jpeg without a frame")
        << kSoi + kApp0 + kDqt + kSos + kEoi << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("just the start marker") << kSoi << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("jpeg cut inside the frame header")
        << kSoi + kApp0 + frame(0xC0, 480, 640).first(8) << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("jpeg cut one byte before the width ends")
        << kSoi + frame(0xC0, 480, 640).first(8) << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("jpeg cut inside the thumbnail segment")
        << kSoi + exifApp1(thumbnail(120, 160)).first(30) << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("segment length past the end")
        << kSoi + segment(0xE0, QByteArray(10, 'x')).first(8) << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("zero height is left to a later segment")
        << kSoi + frame(0xC0, 0, 640) << Format::Jpeg << false << 0u << 0u;

    // Where the segments cannot be followed, the first baseline frame
    // marker anywhere counts.
    QTest::newRow("broken structure falls back to the scan")
        << kSoi + QByteArray("garbage") + bytes({0xFF, 0xC0, 0, 17, 8, 0, 33, 0, 44})
        << Format::Jpeg << true << 44u << 33u;
    QTest::newRow("scan ignores other frame kinds")
        << kSoi + QByteArray("xx") + frame(0xC2, 10, 10) << Format::Jpeg << false << 0u << 0u;
    QTest::newRow("scan: marker too near the end")
        << kSoi + QByteArray("x") + bytes({0xFF, 0xC0, 0, 17, 8, 0, 33, 0}) << Format::Jpeg << false
        << 0u << 0u;
    QTest::newRow("image data before any frame falls back to the scan")
        << kSoi + kSos + frame(0xC0, 21, 22) << Format::Jpeg << true << 22u << 21u;
    QTest::newRow("segment length below 2 falls back to the scan")
        << kSoi + bytes({0xFF, 0xE0, 0, 1}) + frame(0xC0, 8, 9) << Format::Jpeg << true << 9u << 8u;

    QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(20, '\0')
                         << Format::Unsupported << false << 0u << 0u;
    QTest::newRow("bmp") << QByteArray("BM") + QByteArray(40, '\0') << Format::Unsupported << false
                         << 0u << 0u;
    QTest::newRow("lower-case gif")
        << QByteArray("gif89a") + bytes({1, 0, 1, 0}) << Format::Unsupported << false << 0u << 0u;
    QTest::newRow("empty") << QByteArray() << Format::Unsupported << false << 0u << 0u;
    QTest::newRow("one 0xFF") << bytes({0xFF}) << Format::Unsupported << false << 0u << 0u;
}

void TestImageSize::crafted()
{
    QFETCH(QByteArray, data);
    QFETCH(Format, format);
    QFETCH(bool, hasSize);
    QFETCH(uint, width);
    QFETCH(uint, height);
    const ImageSize::Reading r = ImageSize::read(data);
    QCOMPARE(r.format, format);
    QCOMPARE(r.hasSize, hasSize);
    if (hasSize) {
        QCOMPARE(r.width, width);
        QCOMPARE(r.height, height);
    }
}

// Every prefix of a valid file is read from a buffer of exactly its length
// (a fresh heap copy, so address sanitizers or valgrind would see an
// overread); none may claim another size than the whole file's.
void TestImageSize::neverReadsPastTheEnd()
{
    const QByteArray files[] = {
        kSoi + exifApp1(thumbnail(120, 160)) + kDqt + frame(0xC2, 3000, 4000) + kSos + kEoi,
        kSoi + QByteArray("junk") + bytes({0xFF, 0xC0, 0, 17, 8, 0, 33, 0, 44}),
        gif(320, 200),
    };
    for (const QByteArray& file : files) {
        const ImageSize::Reading whole = ImageSize::read(file);
        QVERIFY(whole.hasSize);
        for (qsizetype n = 0; n < file.size(); ++n) {
            const std::unique_ptr<char[]> copy(new char[n ? n : 1]);
            memcpy(copy.get(), file.constData(), n);
            const ImageSize::Reading part = ImageSize::read(QByteArrayView(copy.get(), n));
            if (part.hasSize) {
                QCOMPARE(part.width, whole.width);
                QCOMPARE(part.height, whole.height);
            }
        }
    }
}

void TestImageSize::committedSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<uint>("width");
    QTest::addColumn<uint>("height");
    QTest::newRow("gif") << "screen320x200.gif" << 320u << 200u;
    QTest::newRow("baseline jpeg") << "baseline301x77.jpg" << 301u << 77u;
    QTest::newRow("progressive jpeg") << "progressive123x45.jpg" << 123u << 45u;
}

void TestImageSize::committedSamples()
{
    QFETCH(QString, file);
    QFETCH(uint, width);
    QFETCH(uint, height);
    const QByteArray data = readFile(QStringLiteral(MARQUILL_SOURCE_DIR "/tests/data/") + file);
    QVERIFY(!data.isEmpty());
    const ImageSize::Reading r = ImageSize::read(data);
    QVERIFY(r.hasSize);
    QCOMPARE(r.width, width);
    QCOMPARE(r.height, height);
}

// JPEGs written by Qt's own encoder, baseline and progressive, one with a real
// JPEG thumbnail put into an EXIF segment as cameras do.
void TestImageSize::qtWrittenJpegsAgreeWithIdentify()
{
    QTemporaryDir dir;
    auto encode = [](const QSize& size, bool progressive) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive);
        writer.write(image);
        return buffer.data();
    };
    const QByteArray baseline = encode(QSize(517, 203), false);
    const QByteArray progressive = encode(QSize(211, 389), true);
    const QByteArray thumb = encode(QSize(160, 120), false);
    const QByteArray withThumb = kSoi + exifApp1(thumb) + baseline.mid(2);
    const QByteArray progressiveWithThumb = kSoi + exifApp1(thumb) + progressive.mid(2);

    const struct
    {
        QByteArray data;
        uint width, height;
    } cases[] = {{baseline, 517, 203},
                 {progressive, 211, 389},
                 {withThumb, 517, 203},
                 {progressiveWithThumb, 211, 389}};
    const bool haveIdentify = identifyAvailable();
    int i = 0;
    for (const auto& c : cases) {
        const ImageSize::Reading r = ImageSize::read(c.data);
        QVERIFY(r.hasSize);
        QCOMPARE(r.width, c.width);
        QCOMPARE(r.height, c.height);
        if (haveIdentify) {
            const QString path = dir.filePath(QStringLiteral("case%1.jpg").arg(i++));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(c.data);
            f.close();
            QCOMPARE(identify(path, QStringLiteral("%w %h")),
                     QStringLiteral("%1 %2").arg(c.width).arg(c.height));
        }
    }
}

// Whatever GIF and JPEG files this machine has under /usr/share: the size read
// must be the one ImageMagick reports (the logical screen for a GIF).
void TestImageSize::machineImagesAgreeWithIdentify()
{
    if (!identifyAvailable())
        QSKIP("ImageMagick's identify is not installed");
    int gifs = 0;
    int jpegs = 0;
    QDirIterator it(QStringLiteral("/usr/share"),
                    {QStringLiteral("*.gif"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && (gifs < 10 || jpegs < 10)) {
        const QString path = it.next();
        const bool isGif = path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive);
        if ((isGif && gifs >= 10) || (!isGif && jpegs >= 10))
            continue;
        const QByteArray data = readFile(path);
        const ImageSize::Reading r = ImageSize::read(data);
        if (r.format == ImageSize::Format::Unsupported)
            continue; // a file named .jpg that is something else
        const QString expected = identify(path, isGif ? QStringLiteral("%W %H") : "%w %h");
        if (expected.isEmpty())
            continue; // ImageMagick cannot read it either
        QVERIFY2(r.hasSize, qPrintable(path));
        QCOMPARE(QStringLiteral("%1 %2").arg(r.width).arg(r.height), expected);
        ++(isGif ? gifs : jpegs);
    }
    if (gifs + jpegs == 0)
        QSKIP("no GIF or JPEG files under /usr/share");
    qInfo("compared %d GIF and %d JPEG files", gifs, jpegs);
}

MARQUILL_TEST_MAIN(TestImageSize)
#include "tst_image_size.moc"
