#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm5;
}

// The expenses menu: leads to the register, the date-range search and the
// per-month summary. It hides itself while one of them is up and comes back
// when it closes. It holds no data.
//
// The opener runs it with widgets::RunModalLoop rather than exec(): exec()
// would end the first time the menu hides itself.
class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

private:
    void Button1Click();
    void Button2Click();
    void Button3Click();

    std::unique_ptr<Ui::TForm5> ui;
};
