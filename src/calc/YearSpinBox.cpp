#include "calc/YearSpinBox.h"

QValidator::State YearSpinBox::validate(QString& input, int& /*pos*/) const {
    const QString separator = locale().decimalPoint();
    for (const QChar ch : input) {
        if (!ch.isDigit() && ch != u'+' && ch != u'-' && QString(ch) != separator) {
            return QValidator::Invalid;
        }
    }
    bool whole = false;
    const int year = input.toInt(&whole);
    return whole && year >= minimum() && year <= maximum() ? QValidator::Acceptable
                                                           : QValidator::Intermediate;
}

void YearSpinBox::fixup(QString& input) const {
    bool whole = false;
    const int year = input.toInt(&whole);
    input = QString::number(whole ? qBound(minimum(), year, maximum()) : minimum());
}
