#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace zarno {

// A 160-bit hash of the RIPEMD-160 kind: two lines of 80 steps over 64-byte
// blocks. Subclasses supply the initial words, round constants and the word
// selection and rotation tables.
class TFigProp
{
public:
    struct Parameters
    {
        std::array<std::uint32_t, 5> initial;
        std::array<std::uint32_t, 5> left;
        std::array<std::uint32_t, 5> right;
        std::array<std::uint8_t, 80> wordLeft;
        std::array<std::uint8_t, 80> wordRight;
        std::array<std::uint8_t, 80> rotateLeft;
        std::array<std::uint8_t, 80> rotateRight;
    };

    virtual ~TFigProp() = default;
    virtual quint16 classIdentifier() const = 0;

    void reset();
    void update(const char *data, qsizetype size);
    void finish();
    // The result as 40 lower-case hexadecimal digits.
    QString resultText() const;

    // Hashes the bytes in pieces of 16384, as a stream would be read.
    QString digestOfBytes(const QByteArray &bytes);

protected:
    virtual Parameters parameters() const = 0;

private:
    void compress(const std::uint8_t *block);

    Parameters fParams {};
    std::array<std::uint8_t, 64> fBlock {};
    int fFill = 0;
    std::uint64_t fBitLength = 0;
    std::array<std::uint32_t, 5> fChain {};
    std::array<std::uint8_t, 20> fResult {};
};

// The program's own digest.
class TMyFigProp : public TFigProp
{
public:
    quint16 classIdentifier() const override;

    // The 40 characters that stand in the digest field while it is computed.
    static QString placeholderText();
    static QString identifierText();

    // Writes the digest into a complete file image whose digest value starts
    // at the given byte offset (the placeholder is there now).
    static void seal(QByteArray &fileBytes, qint64 digestValueOffset);
    // Checks a file image against the 44-character digest value at the offset.
    static bool check(
        const QByteArray &fileBytes, qint64 digestValueOffset, const QString &digestValue);

protected:
    Parameters parameters() const override;
};

} // namespace zarno
