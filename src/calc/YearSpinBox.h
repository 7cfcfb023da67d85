#pragma once

#include <QLineEdit>
#include <QSpinBox>
#include <QValidator>

// How a year field judges typed text: digits, signs and the decimal
// separator may be typed; the text is acceptable only as a whole number of
// minimum..maximum.
QValidator::State TypedYearState(const QString& input, const QString& decimalPoint, int minimum,
                                 int maximum);

// The text a year field takes when it is left: a whole number brought into
// minimum..maximum, anything else the minimum.
QString FixedUpYearText(const QString& input, int minimum, int maximum);

// A year field that lets the user type freely (digits, signs, the decimal
// separator) and only brings the year into range when the field is left.
class YearSpinBox : public QSpinBox {
public:
    explicit YearSpinBox(QWidget* parent = nullptr) : QSpinBox(parent) {}

    QLineEdit* editor() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
