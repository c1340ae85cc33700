#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QJsonValue>

#include <functional>
#include <stdexcept>

// Reads JSON values from bytes as they arrive (from a socket), in one pass:
// whenever a value goes on past the bytes at hand, `refill` is asked for
// more. A branch's quote list is tens of megabytes of JSON, so its rows can
// be decoded while the rest is still on its way, and the bytes already read
// can be let go of (discardConsumed) instead of being held to the end.
//
// Small values come back as QJsonValue, exactly as QJsonDocument would read
// them (integers that fit a qint64 as integers); decoders of large values
// read them token by token (peek, readString, readNumber...).
class JsonStreamReader final {
public:
    // Appends the bytes that arrived to `buffer`; false when none will come
    // any more. It may also throw, and the exception goes on to the caller.
    using Refill = std::function<bool(QByteArray &buffer)>;
    // Called with each member's key, the reader standing at its value: true
    // when the callback read the value itself (and put into `object` what
    // it wants kept), false to have it read as a plain value.
    using MemberReader = std::function<bool(const QString &key, QJsonObject &object)>;

    // Bytes that are not JSON, or that end in the middle of a value.
    class SyntaxError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    struct Number {
        double value = 0;
        qint64 integer = 0;
        bool isInteger = false; // written without fraction or exponent, and fits a qint64
    };

    JsonStreamReader(QByteArray pending, Refill refill);

    char peek(); // the next byte that is not white space
    bool consume(char expected); // takes it when it is next
    void expect(char expected);  // takes it or throws

    QJsonValue readValue();
    // Reads past one value, refusing exactly what readValue refuses (with
    // the same SyntaxError), without building it: for a text that is only
    // to be checked. Takes time in proportion to the value's length.
    void skipValue();
    QJsonObject readObject(const MemberReader &readMember = {});
    // A string's bytes in UTF-8, escapes resolved; valid until the next read.
    QByteArrayView readString();
    Number readNumber();
    void readNull();

    // Where the reader stands, to go back to while no bytes are discarded.
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype position) { m_pos = position; }
    // Lets go of the bytes already read once they are many; positions
    // taken earlier are no longer valid.
    void discardConsumed();

    // White space up to and including the newline that ends a message.
    void endLine();
    // The bytes that arrived after what was read (the next message's).
    QByteArray takeUnread();

private:
    [[noreturn]] void fail(const QString &what) const;
    void more();
    void readLiteral(QByteArrayView word);
    QByteArrayView readEscapedString(qsizetype start, qsizetype escape);
    // Where the UTF-8 sequence starting at `at` ends; fails when it is not
    // well formed, as QJsonDocument refuses it.
    qsizetype afterUtf8Sequence(qsizetype at);
    void appendEscape(qsizetype &at);
    uint readHex4(qsizetype at);
    QJsonValue readArray();
    // '[', the elements, each through `readElement`, and ']'.
    template<typename ReadElement>
    void readElements(ReadElement readElement);
    // '{', the members, and '}': each member's name is read and handed to
    // `readMember` (the bytes valid until the next read), which reads the
    // ':' and the value.
    template<typename ReadMember>
    void readMembers(ReadMember readMember);

    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_discarded = 0; // bytes let go of before m_buffer's first
    QByteArray m_unescaped;
    Refill m_refill;
    int m_depth = 0;
};
