#include "persist/digest.h"

#include <QtEndian>

namespace zarno {

namespace {

constexpr std::uint32_t rol(std::uint32_t x, unsigned n)
{
    return (x << n) | (x >> (32 - n));
}

std::uint32_t f(int round, std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    switch (round) {
    case 0: return x ^ y ^ z;
    case 1: return (x & y) | (~x & z);
    case 2: return (x | ~y) ^ z;
    case 3: return (x & z) | (y & ~z);
    default: return x ^ (y | ~z);
    }
}

// Constants are kept bit-reversed and tables with bits 0 and 2 exchanged, so
// that the binary never holds them in plain.
constexpr std::uint32_t reverseBits(std::uint32_t v)
{
    std::uint32_t r = 0;
    for (int i = 0; i < 32; ++i)
        if (v & (1u << i))
            r |= 1u << (31 - i);
    return r;
}

constexpr std::uint8_t swapBits02(std::uint8_t v)
{
    const std::uint8_t b0 = v & 1u, b2 = (v >> 2) & 1u;
    return std::uint8_t(((v & 0x0Au) | (b0 << 2) | b2) & 0x0Fu);
}

template <std::size_t N>
constexpr std::array<std::uint32_t, N> hideWords(std::array<std::uint32_t, N> a)
{
    for (auto &v : a)
        v = reverseBits(v);
    return a;
}

constexpr std::array<std::uint8_t, 80> hideTable(std::array<std::uint8_t, 80> a)
{
    for (auto &v : a)
        v = swapBits02(v);
    return a;
}

template <std::size_t N>
std::array<std::uint32_t, N> showWords(const std::array<std::uint32_t, N> &a)
{
    return hideWords(a);
}

std::array<std::uint8_t, 80> showTable(const std::array<std::uint8_t, 80> &a)
{
    return hideTable(a);
}

// clang-format off
constexpr auto kInitial = hideWords<5>({0x4D1C7B25u, 0xE8A3F06Bu, 0x93D52E7Cu, 0x1B6F8A49u, 0xC27E5D13u});
constexpr auto kLeft = hideWords<5>({0x00000000u, 0x6A09E667u, 0xBB67AE85u, 0x3C6EF372u, 0xA54FF53Au});
constexpr auto kRight = hideWords<5>({0x510E527Fu, 0x9B05688Cu, 0x1F83D9ABu, 0x5BE0CD19u, 0x00000000u});
constexpr auto kWordLeft = hideTable({
     0, 1, 2, 3, 4, 5, 6, 7, 8, 9,10,11,12,13,14,15,  7, 4,13, 1,10, 6,15, 3,12, 0, 9, 5, 2,14,11, 8,
     3,10,14, 4, 9,15, 8, 1, 2, 7, 0, 6,13,11, 5,12,  1, 9,11,10, 0, 8,12, 4,13, 3, 7,15,14, 5, 6, 2,
     4, 0, 5, 9, 7,12, 2,10,14, 1, 3, 8,11, 6,15,13});
constexpr auto kWordRight = hideTable({
     5,14, 7, 0, 9, 2,11, 4,13, 6,15, 8, 1,10, 3,12,  6,11, 3, 7, 0,13, 5,10,14,15, 8,12, 4, 9, 1, 2,
    15, 5, 1, 3, 7,14, 6, 9,11, 8,12, 2,10, 0, 4,13,  8, 6, 4, 1, 3,11,15, 0, 5,12, 2,13, 9, 7,10,14,
    12,15,10, 4, 1, 5, 8, 7, 6, 2,13,14, 0, 3, 9,11});
constexpr auto kRotateLeft = hideTable({
     7, 9,11,13,14,15, 6, 7, 9, 8,11,14,15,12, 5, 8,  7, 6, 8,13,11, 9, 7,15, 7,12,15, 9,11, 7,13,12,
    11,13, 6, 7,14, 9,13,15,14, 8,13, 6, 5,12, 7, 5, 11,12,14,15,14,15, 9, 8, 9,14, 5, 6, 8, 6, 5,12,
     9,15, 5,11, 6, 8,13,12, 5,12,13,14,11, 8, 5, 6});
constexpr auto kRotateRight = hideTable({
    13,15,15, 5, 7, 7, 8,11,14,14,12, 6, 8, 9, 9,11,  9,13,15, 7,12, 8, 9,11, 7, 7,12, 7, 6,15,13,11,
     9, 7,15,11, 8, 6, 6,14,12,13, 5,14,13,13, 7, 5, 15, 5, 8,11,14,14, 6,14, 6, 9,12, 9,12, 5,15, 8,
     8, 5,12, 9,12, 5,14, 6, 8,13, 6, 5,15,13,11,11});
// clang-format on

constexpr quint16 kIdentifier = 0x2a5c;

} // namespace

void TFigProp::reset()
{
    fParams = parameters();
    fBlock.fill(0);
    fFill = 0;
    fBitLength = 0;
    fChain = fParams.initial;
    fResult.fill(0);
}

void TFigProp::update(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        fBlock[std::size_t(fFill++)] = std::uint8_t(data[i]);
        if (fFill == 64) {
            compress(fBlock.data());
            fFill = 0;
        }
    }
    fBitLength += std::uint64_t(size) * 8u;
}

void TFigProp::finish()
{
    fBlock[std::size_t(fFill++)] = 0x80;
    if (fFill > 56) {
        while (fFill < 64)
            fBlock[std::size_t(fFill++)] = 0;
        compress(fBlock.data());
        fFill = 0;
    }
    while (fFill < 56)
        fBlock[std::size_t(fFill++)] = 0;
    qToLittleEndian<quint64>(fBitLength, fBlock.data() + 56);
    compress(fBlock.data());
    fFill = 0;
    for (int i = 0; i < 5; ++i)
        qToLittleEndian<quint32>(fChain[std::size_t(i)], fResult.data() + 4 * i);
}

QString TFigProp::resultText() const
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(fResult.data()), 20).toHex());
}

QString TFigProp::digestOfBytes(const QByteArray &bytes)
{
    reset();
    constexpr qsizetype kPiece = 16384;
    for (qsizetype at = 0; at < bytes.size(); at += kPiece)
        update(bytes.constData() + at, std::min(kPiece, bytes.size() - at));
    finish();
    return resultText();
}

void TFigProp::compress(const std::uint8_t *block)
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = qFromLittleEndian<quint32>(block + 4 * i);
    std::uint32_t al = fChain[0], bl = fChain[1], cl = fChain[2], dl = fChain[3], el = fChain[4];
    std::uint32_t ar = al, br = bl, cr = cl, dr = dl, er = el;
    for (int j = 0; j < 80; ++j) {
        const int round = j / 16;
        std::uint32_t t
            = rol(al + f(round, bl, cl, dl) + x[fParams.wordLeft[j]] + fParams.left[round],
                  fParams.rotateLeft[j])
            + el;
        al = el;
        el = dl;
        dl = rol(cl, 10);
        cl = bl;
        bl = t;
        t = rol(ar + f(4 - round, br, cr, dr) + x[fParams.wordRight[j]] + fParams.right[round],
                fParams.rotateRight[j])
            + er;
        ar = er;
        er = dr;
        dr = rol(cr, 10);
        cr = br;
        br = t;
    }
    const std::uint32_t t = fChain[1] + cl + dr;
    fChain[1] = fChain[2] + dl + er;
    fChain[2] = fChain[3] + el + ar;
    fChain[3] = fChain[4] + al + br;
    fChain[4] = fChain[0] + bl + cr;
    fChain[0] = t;
}

quint16 TMyFigProp::classIdentifier() const
{
    return kIdentifier;
}

TFigProp::Parameters TMyFigProp::parameters() const
{
    return Parameters { showWords(kInitial), showWords(kLeft), showWords(kRight),
        showTable(kWordLeft), showTable(kWordRight), showTable(kRotateLeft),
        showTable(kRotateRight) };
}

QString TMyFigProp::placeholderText()
{
    // Built by stepping from a seed letter through the alphabet.
    QString text;
    int c = 'q' - 'a';
    for (int i = 0; i < 40; ++i) {
        text += QLatin1Char(char('a' + c));
        c = (c * 7 + 11) % 26;
    }
    return text;
}

QString TMyFigProp::identifierText()
{
    return QStringLiteral("%1").arg(kIdentifier, 4, 16, QLatin1Char('0'));
}

void TMyFigProp::seal(QByteArray &fileBytes, qint64 offset)
{
    TMyFigProp prop;
    const QString digest = prop.digestOfBytes(fileBytes);
    for (int i = 0; i < 40; ++i)
        qToLittleEndian<quint16>(digest[i].unicode(), fileBytes.data() + offset + 2 * i);
}

bool TMyFigProp::check(const QByteArray &fileBytes, qint64 offset, const QString &digestValue)
{
    if (digestValue.size() != 44 || offset < 0 || offset + 80 > fileBytes.size()
        || offset + 80 > 16384)
        return false;
    // The file as it was hashed when written: the placeholder stands where
    // the digest is now. Only the first piece is copied.
    const QString placeholder = placeholderText();
    const qsizetype headSize = std::min<qsizetype>(16384, fileBytes.size());
    QByteArray head = fileBytes.left(headSize);
    for (int i = 0; i < 40; ++i)
        qToLittleEndian<quint16>(placeholder[i].unicode(), head.data() + offset + 2 * i);
    TMyFigProp prop;
    prop.reset();
    prop.update(head.constData(), head.size());
    constexpr qsizetype kPiece = 16384;
    for (qsizetype at = headSize; at < fileBytes.size(); at += kPiece)
        prop.update(fileBytes.constData() + at, std::min(kPiece, fileBytes.size() - at));
    prop.finish();
    return prop.resultText() == digestValue.left(40);
}

} // namespace zarno
