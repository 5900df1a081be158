#pragma once

#include "data/NumberFormat.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

// How every kind of field of the declaration files is written. Amounts and rates are floating dinars and
// percents as the tables store them; this is the one place where they become whole millimes and hundredths.
//
// Rounding rule: the value, once multiplied by 1000 (amounts) or 100 (rates), is taken to 18 significant
// decimal digits, then rounded to a whole number with a half going away from zero. Counts are rounded the
// same way without a multiplication (25.5 days give 026).
//
// A record is recognised by position only, so a field never lengthens or shortens it: numbers that do not
// fit their digits (negative, too many digits, not a number) are refused with a Fault, and texts are padded
// with blanks or cut to their width.
enum class Encoding {
    Amount,          // dinars -> millimes, at least 15 digits zero-filled; empty counts as 0
    Rate,            // percent -> hundredths, 5 digits ("01500" for 15 %)
    Count,           // a whole number zero-filled to the field's width
    WholeNumberText, // a text holding a whole number (Annex VII TYPEMONTANT), zero-filled to the width
    Date,            // DDMMYYYY; an empty date is day zero of the date system, 30121899
    StoredText,      // the stored bytes, blank-padded or cut to the width
    TrimmedText,     // the stored bytes without surrounding blanks, then blank-padded or cut
    Filler,          // blanks
};

enum class Fault { None, Negative, TooManyDigits, NotANumber, NotAWholeNumber };

// Writes `value` into out[0 .. width-1]. Texts are WIN1252 bytes (a QByteArray) or a QString encoded to
// WIN1252. On a fault the buffer content is unspecified.
Fault encodeField(Encoding encoding, const QVariant &value, int width, char *out);
// The same into a new array, for callers that do not keep a record buffer.
QByteArray encodedField(Encoding encoding, const QVariant &value, int width, Fault *fault = nullptr);

// Millimes of an amount in dinars (null counts as 0) under the rounding rule; Fault when negative or not
// finite. `millimes` is set on success.
Fault toMillimes(const QVariant &dinars, qint64 *millimes);
// A whole number zero-filled to `width`; TooManyDigits when it needs more, Negative below 0.
Fault writeDigits(qint64 value, int width, char *out);

// A text read as a whole number: digits only, with the blanks a fixed-width column pads it with around
// them; empty when it holds anything else or nothing.
std::optional<qint64> wholeNumber(const QByteArray &text);

// French wording of a fault, for a message naming where it happened ("est négatif", ...).
QString faultText(Fault fault, int width);
