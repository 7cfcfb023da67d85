#include "calc/YearSpinBox.h"

QValidator::State TypedYearState(const QString& input, const QString& decimalPoint, int minimum,
                                 int maximum) {
    for (const QChar ch : input) {
        if (!ch.isDigit() && ch != u'+' && ch != u'-' && QString(ch) != decimalPoint) {
            return QValidator::Invalid;
        }
    }
    bool whole = false;
    const int year = input.toInt(&whole);
    return whole && year >= minimum && year <= maximum ? QValidator::Acceptable
                                                       : QValidator::Intermediate;
}

QString FixedUpYearText(const QString& input, int minimum, int maximum) {
    bool whole = false;
    const int year = input.toInt(&whole);
    return QString::number(whole ? qBound(minimum, year, maximum) : minimum);
}

QValidator::State YearSpinBox::validate(QString& input, int& /*pos*/) const {
    return TypedYearState(input, locale().decimalPoint(), minimum(), maximum());
}

void YearSpinBox::fixup(QString& input) const {
    input = FixedUpYearText(input, minimum(), maximum());
}
