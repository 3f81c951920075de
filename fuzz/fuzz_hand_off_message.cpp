// The request a later start sends to the running editor: whatever bytes
// arrive, reading them never fails badly; a request read is exactly the
// frame its sender would write; every shorter part of that frame asks for
// more, and bytes found invalid stay invalid however many follow.

#include "app/hand_off_message.h"
#include "fuzz_support.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace HandOffMessage;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Request request;
    const Parse parsed = parse(bytes, request);
    if (parsed == Parse::Invalid) {
        Request more;
        FUZZ_CHECK(parse(bytes.toByteArray() + "A/x", more) == Parse::Invalid, bytes.toByteArray());
        return 0;
    }
    if (parsed == Parse::NeedMore) {
        FUZZ_CHECK(bytes.size() < 4 + qsizetype(kMaxPayload), bytes.toByteArray());
        return 0;
    }
    FUZZ_CHECK(request.frameSize > 4 && request.frameSize <= bytes.size(), bytes.toByteArray());
    const QByteArrayView frame = bytes.first(request.frameSize);
    FUZZ_CHECK(encode(request.path) == frame, frame.toByteArray());
    FUZZ_CHECK(request.open == !request.path.isEmpty(), frame.toByteArray());
    FUZZ_CHECK(request.accepted ==
                   (!request.open || QDir::isAbsolutePath(QFile::decodeName(request.path))),
               frame.toByteArray());
    // Every shorter part of the frame, or a spread of them for a long one.
    const qsizetype step = std::max<qsizetype>(1, request.frameSize / 64);
    for (qsizetype cut = 0; cut < request.frameSize; cut += step) {
        Request part;
        FUZZ_CHECK(parse(frame.first(cut), part) == Parse::NeedMore,
                   frame.first(cut).toByteArray());
    }
    return 0;
}
