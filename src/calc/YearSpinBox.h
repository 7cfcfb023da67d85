#pragma once

#include <QLineEdit>
#include <QSpinBox>

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
