#include "model/VCardLine.h"

namespace {

// Bare parameters of vCard 2.1 that name an encoding; every other bare parameter is a type.
bool isEncodingName(const QByteArray& upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" || upper == "7BIT";
}

// Index of the first `wanted` character outside double quotes at or after `from`, or -1.
qsizetype findOutsideQuotes(QByteArrayView text, qsizetype from, QByteArrayView wanted)
{
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && wanted.contains(c))
            return i;
    }
    return -1;
}

// Like findOutsideQuotes, but a quote that never closes is taken for an ordinary character, so that one stray
// quote does not make the line unreadable.
qsizetype findUnquoted(QByteArrayView text, qsizetype from, QByteArrayView wanted)
{
    const qsizetype found = findOutsideQuotes(text, from, wanted);
    if (found >= 0)
        return found;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (wanted.contains(text[i]))
            return i;
    }
    return -1;
}

VCardLine::Parameter parseParameter(QByteArrayView token)
{
    const qsizetype equals = findOutsideQuotes(token, 0, "=");
    if (equals < 0) {
        const QByteArray bare = token.trimmed().toByteArray().toUpper();
        return {isEncodingName(bare) ? "ENCODING" : "TYPE", {bare}};
    }
    VCardLine::Parameter parameter{token.first(equals).trimmed().toByteArray().toUpper(), {}};
    // Quotes only protect ',' ';' and ':' here; "cell,voice" in quotes is a list all the same.
    QByteArray values = token.sliced(equals + 1).toByteArray();
    values.replace('"', QByteArray());
    for (const QByteArray& value : values.split(',')) {
        if (!value.trimmed().isEmpty())
            parameter.values << value.trimmed();
    }
    return parameter;
}

}

std::optional<VCardLine> VCardLine::parse(QByteArrayView text)
{
    const qsizetype nameEnd = findUnquoted(text, 0, ";:");
    if (nameEnd < 0)
        return std::nullopt;
    const QByteArray fullName = text.first(nameEnd).trimmed().toByteArray();
    const qsizetype dot = fullName.lastIndexOf('.');
    VCardLine line;
    line.group = dot < 0 ? QByteArray() : fullName.first(dot);
    line.name = fullName.sliced(dot + 1).trimmed().toUpper();
    if (line.name.isEmpty())
        return std::nullopt;
    qsizetype position = nameEnd;
    while (text[position] == ';') {
        const qsizetype next = findUnquoted(text, position + 1, ";:");
        if (next < 0)
            return std::nullopt;
        const QByteArrayView token = text.sliced(position + 1, next - position - 1);
        if (!token.trimmed().isEmpty())
            line.parameters << parseParameter(token);
        position = next;
    }
    line.value = text.sliced(position + 1).toByteArray();
    return line;
}

QList<QByteArray> VCardLine::parameterValues(QByteArrayView upperName) const
{
    QList<QByteArray> values;
    for (const Parameter& parameter : parameters) {
        if (parameter.name == upperName)
            values << parameter.values;
    }
    return values;
}

QByteArray VCardLine::firstParameterValue(QByteArrayView upperName) const
{
    const QList<QByteArray> values = parameterValues(upperName);
    return values.isEmpty() ? QByteArray() : values.front().toUpper();
}
