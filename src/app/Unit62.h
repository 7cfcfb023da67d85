#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm62;
}

// The about window: the product picture, name and version, and the maker's
// contact lines, whose web and mail addresses open on a click. The opener
// creates it, runs exec() and destroys it.
class TForm62 : public QDialog {
    Q_OBJECT

public:
    explicit TForm62(QWidget* parent = nullptr);
    ~TForm62() override;

    void Button1Click();
    void Label3Click();
    void Label4Click();
    void Image2Click();
    // The window's context menu has no items: asking for it opens the
    // maker's website instead.
    void PopupMenu1Popup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowProductLines();
    void ShowPictures();
    void MakeClickable();

    std::unique_ptr<Ui::TForm62> ui;
};
