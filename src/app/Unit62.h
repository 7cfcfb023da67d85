#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about window: the product picture, name and version, and the maker's
// contact lines, whose web and mail addresses open on a click. The opener
// creates it, runs exec() and destroys it.
class TForm62 : public QDialog {
    Q_OBJECT

public:
    explicit TForm62(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Image1;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label12;
    QLabel* Label3;
    QLabel* Label13;
    QLabel* Label4;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label7;
    QLabel* Label14;
    QLabel* Label8;
    QLabel* Label11;
    QLabel* Image2;
    QPushButton* Button1;

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
    QLabel* AddLabel(const QString& name, const QString& text);
    QLabel* AddLink(const QString& name, const QString& text);
    void LayOutHeader();
    void LayOutContactColumn();
    void LayOutFooter();
};
