#include "qtjson.h"

#include <QList>
#include <QVariantHash>
#include <QVariantList>
#include <QVariantMap>

#include <cmath>

namespace QtJson {

namespace {

enum Token {
    TokenNone = 0,
    TokenObjectOpen = 1,
    TokenObjectClose = 2,
    TokenArrayOpen = 3,
    TokenArrayClose = 4,
    TokenColon = 5,
    TokenComma = 6,
    TokenString = 7,
    TokenNumber = 8,
    TokenTrue = 9,
    TokenFalse = 10,
    TokenNull = 11
};

// Containers nested deeper than this are refused rather than recursed into.
constexpr int maxDepth = 512;

void eatWhitespace(const QString& json, int& index)
{
    while (index < json.size()) {
        const ushort c = json.at(index).unicode();
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            break;
        ++index;
    }
}

int nextToken(const QString& json, int& index)
{
    eatWhitespace(json, index);
    if (index >= json.size())
        return TokenNone;

    const ushort c = json.at(index).unicode();
    ++index;
    switch (c) {
    case '{': return TokenObjectOpen;
    case '}': return TokenObjectClose;
    case '[': return TokenArrayOpen;
    case ']': return TokenArrayClose;
    case '"': return TokenString;
    case ',': return TokenComma;
    case ':': return TokenColon;
    case '-':
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
        return TokenNumber;
    default:
        break;
    }
    --index;

    const int remaining = json.size() - index;
    if (remaining < 4)
        return TokenNone;
    if (json.midRef(index, 4) == QLatin1String("true")) {
        index += 4;
        return TokenTrue;
    }
    if (remaining >= 5 && c == 'f') {
        if (json.at(index + 1) != QLatin1Char('a'))
            return TokenNone;
        if (json.midRef(index + 1, 4) == QLatin1String("alse")) {
            index += 5;
            return TokenFalse;
        }
    }
    if (json.midRef(index, 4) == QLatin1String("null")) {
        index += 4;
        return TokenNull;
    }
    return TokenNone;
}

QVariant parseString(const QString& json, int& index, bool& success)
{
    eatWhitespace(json, index);
    ++index; // the opening quote, whatever character stands there

    QString result;
    while (index < json.size()) {
        const QChar c = json.at(index++);
        if (c == QLatin1Char('"'))
            return result;
        if (c != QLatin1Char('\\')) {
            result += c;
            continue;
        }
        if (index >= json.size())
            break;
        const QChar escaped = json.at(index++);
        switch (escaped.unicode()) {
        case '"':
        case '\\':
        case '/':
            result += escaped;
            break;
        case 'b': result += QChar(0x08); break;
        case 'f': result += QChar(0x0C); break;
        case 'n': result += QChar(0x0A); break;
        case 'r': result += QChar(0x0D); break;
        case 't': result += QChar(0x09); break;
        case 'u': {
            if (json.size() - index < 4) {
                success = false;
                return QVariant();
            }
            const int code = json.midRef(index, 4).toInt(nullptr, 16);
            result += QChar(static_cast<ushort>(code & 0xFFFF));
            index += 4;
            break;
        }
        default:
            break; // unknown escapes are dropped
        }
    }
    success = false;
    return QVariant();
}

bool isNumberChar(QChar c)
{
    switch (c.unicode()) {
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
    case '+': case '-': case '.': case 'e': case 'E':
        return true;
    default:
        return false;
    }
}

// depth is the number of containers around the value being read.
QVariant parseValue(const QString& json, int& index, bool& success, int depth = 0)
{
    int peek = index;
    switch (nextToken(json, peek)) {
    case TokenObjectOpen: {
        if (depth >= maxDepth) {
            success = false;
            return QVariantMap();
        }
        nextToken(json, index);
        QVariantMap map;
        for (;;) {
            peek = index;
            const int token = nextToken(json, peek);
            if (token == TokenComma) {
                index = peek;
                continue;
            }
            if (token == TokenObjectClose) {
                index = peek;
                return map;
            }
            if (token == TokenNone) {
                success = false;
                return QVariantMap();
            }
            const QString key = parseString(json, index, success).toString();
            if (!success)
                return QVariantMap();
            if (nextToken(json, index) != TokenColon) {
                success = false;
                return QVariantMap();
            }
            const QVariant value = parseValue(json, index, success, depth + 1);
            if (!success)
                return QVariantMap();
            map.insert(key, value);
        }
    }
    case TokenArrayOpen: {
        if (depth >= maxDepth) {
            success = false;
            return QVariantList();
        }
        nextToken(json, index);
        QVariantList list;
        for (;;) {
            peek = index;
            const int token = nextToken(json, peek);
            if (token == TokenComma) {
                index = peek;
                continue;
            }
            if (token == TokenArrayClose) {
                index = peek;
                return list;
            }
            if (token == TokenNone) {
                success = false;
                return QVariantList();
            }
            const QVariant value = parseValue(json, index, success, depth + 1);
            if (!success)
                return QVariantList();
            list.append(value);
        }
    }
    case TokenString:
        return parseString(json, index, success);
    case TokenNumber: {
        eatWhitespace(json, index);
        const int start = index;
        while (index < json.size() && isNumberChar(json.at(index)))
            ++index;
        const QStringRef text = json.midRef(start, index - start);
        // Unreadable text (including out of range) gives 0 of the chosen type.
        bool ok = false;
        if (text.contains(QLatin1Char('.')) || text.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
            const double value = text.toDouble(&ok);
            return ok ? value : 0.0;
        }
        if (text.startsWith(QLatin1Char('-')))
            return text.toLongLong(&ok, 10);
        return text.toULongLong(&ok, 10);
    }
    case TokenTrue:
        nextToken(json, index);
        return true;
    case TokenFalse:
        nextToken(json, index);
        return false;
    case TokenNull:
        nextToken(json, index);
        return QVariant();
    default:
        success = false;
        return QVariant();
    }
}

QString unicodeEscape(ushort code)
{
    return QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
}

// Besides what JSON requires, escapes every control character, U+2028 and
// U+2029 (line ends in JavaScript), unpaired surrogates (which UTF-8 cannot
// carry) and the solidus of "</" (which would end an inline script).
QString sanitizeString(QString str)
{
    QString result;
    result.reserve(str.size() + 2);
    result += QLatin1Char('"');
    for (int i = 0; i < str.size(); ++i) {
        const QChar c = str.at(i);
        const ushort u = c.unicode();
        switch (u) {
        case '\\': result += QLatin1String("\\\\"); continue;
        case '"': result += QLatin1String("\\\""); continue;
        case 0x08: result += QLatin1String("\\b"); continue;
        case 0x0C: result += QLatin1String("\\f"); continue;
        case 0x0A: result += QLatin1String("\\n"); continue;
        case 0x0D: result += QLatin1String("\\r"); continue;
        case 0x09: result += QLatin1String("\\t"); continue;
        case '/':
            result += (i > 0 && str.at(i - 1) == QLatin1Char('<')) ? QStringLiteral("\\/") : QStringLiteral("/");
            continue;
        default:
            break;
        }
        if (c.isHighSurrogate() && i + 1 < str.size() && str.at(i + 1).isLowSurrogate()) {
            result += c;
            result += str.at(++i);
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || c.isSurrogate()) {
            result += unicodeEscape(u);
        } else {
            result += c;
        }
    }
    result += QLatin1Char('"');
    return result;
}

QByteArray join(const QList<QByteArray>& list, const QByteArray& sep)
{
    QByteArray result;
    for (const QByteArray& part : list) {
        if (!result.isEmpty())
            result += sep;
        result += part;
    }
    return result;
}

QByteArray formatDouble(double value)
{
    // Neither JSON nor a JavaScript literal has a spelling for these.
    if (!std::isfinite(value))
        return QByteArrayLiteral("null");
    QByteArray text = QByteArray::number(value, 'g', 20);
    if (!text.contains('.') && !text.contains('e'))
        text += ".0";
    return text;
}

} // namespace

QVariant parse(const QString& json)
{
    bool success = true;
    return parse(json, success);
}

QVariant parse(const QString& json, bool& success)
{
    success = true;
    if (json.isNull())
        return QVariant();
    int index = 0;
    return parseValue(json, index, success);
}

QByteArray serialize(const QVariant& data)
{
    bool success = true;
    return serialize(data, success);
}

QByteArray serialize(const QVariant& data, bool& success)
{
    success = true;
    QByteArray text;
    const int type = data.userType();

    if (!data.isValid()) {
        text = QByteArrayLiteral("null");
    } else if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        QList<QByteArray> values;
        const QVariantList list = data.toList();
        for (const QVariant& item : list) {
            bool itemSuccess = true;
            const QByteArray value = serialize(item, itemSuccess);
            if (value.isNull()) {
                success = false;
                break;
            }
            values << value;
        }
        text = "[ " + join(values, ", ") + " ]";
    } else if (type == QMetaType::QVariantHash || type == QMetaType::QVariantMap) {
        QList<QByteArray> pairs;
        auto addPair = [&](const QString& key, const QVariant& item) {
            bool itemSuccess = true;
            const QByteArray value = serialize(item, itemSuccess);
            if (value.isNull())
                return false;
            pairs << sanitizeString(key).toUtf8() + " : " + value;
            return true;
        };
        if (type == QMetaType::QVariantHash) {
            const QVariantHash hash = data.toHash();
            for (auto it = hash.cbegin(); success && it != hash.cend(); ++it)
                success = addPair(it.key(), it.value());
        } else {
            const QVariantMap map = data.toMap();
            for (auto it = map.cbegin(); success && it != map.cend(); ++it)
                success = addPair(it.key(), it.value());
        }
        text = "{ " + join(pairs, ", ") + " }";
    } else if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        text = sanitizeString(data.toString()).toUtf8();
    } else if (type == QMetaType::Double || type == QMetaType::Float) {
        text = formatDouble(data.toDouble());
    } else if (type == QMetaType::Bool) {
        text = data.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    } else if (type == QMetaType::ULongLong) {
        text = QByteArray::number(data.toULongLong());
    } else if (data.canConvert<qlonglong>()) {
        text = QByteArray::number(data.toLongLong());
    } else if (data.canConvert<long>()) {
        text = QByteArray::number(static_cast<qlonglong>(data.value<long>()));
    } else if (data.canConvert<QString>()) {
        text = sanitizeString(data.toString()).toUtf8();
    } else {
        success = false;
    }

    if (!success)
        return QByteArray();
    return text;
}

}
