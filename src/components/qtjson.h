#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Converts between JSON text and QVariant values.
//
// Objects become QVariantMap, arrays QVariantList, strings QString, numbers
// with a fraction or an exponent double, other numbers qlonglong (negative)
// or qulonglong, true/false bool and null an invalid QVariant. The reader is
// lenient: stray or missing commas are skipped, text after the value is
// ignored, unknown escapes are dropped and malformed numbers read as 0.
namespace QtJson {

// Reads one value from the start of the text. A null string gives an invalid
// value and success; any failure gives success false and an invalid value,
// or an empty container of the outermost container's kind.
QVariant parse(const QString& json);
QVariant parse(const QString& json, bool& success);

// Writes the value as one line of JSON, also usable as a JavaScript literal
// inside an HTML script element. A value that converts neither to a number
// nor to a string, at any depth, gives a null QByteArray and success false.
QByteArray serialize(const QVariant& data);
QByteArray serialize(const QVariant& data, bool& success);

}
