#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// One logical content line of a vCard: [group.]NAME[;param...]:value, split into its parts.
class VCardLine {
public:
    struct Parameter {
        QByteArray name;            // upper case; the bare parameters of vCard 2.1 get ENCODING or TYPE
        QList<QByteArray> values;   // quotes removed, comma lists split, blanks trimmed
    };

    QByteArray group;  // e.g. "item1" for "item1.TEL"; empty when there is none
    QByteArray name;   // upper case
    QList<Parameter> parameters;
    QByteArray value;  // raw: still escaped and encoded

    // Nothing when the line has no name or no ':' outside quotes.
    static std::optional<VCardLine> parse(QByteArrayView text);

    // Every value of every parameter with this (upper case) name, in order.
    QList<QByteArray> parameterValues(QByteArrayView upperName) const;
    // The first value of the parameter, upper case; empty when it is missing.
    QByteArray firstParameterValue(QByteArrayView upperName) const;
};
