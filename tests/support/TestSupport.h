#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QWidget;

namespace testsupport {

// A fresh temporary working directory holding a copy of the empty database;
// the process works in it until the object goes away. AppDirectory and
// AppConnectionString point at it.
class WorkDir {
public:
    explicit WorkDir(const QString& subfolder = QString());
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    QString path() const { return path_; }
    QString databasePath() const;
    QString connectionString() const;

private:
    QTemporaryDir root_;
    QString path_;
    QString previous_;
};

// Types text into a widget one character at a time (Greek included).
void TypeText(QWidget* widget, const QString& text);

// Calls answer with the next modal widget as soon as one is up (polling from
// a timer); gives up after timeoutMs.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Clicks the push button of the active modal box whose text is buttonText
// ("OK", "Cancel", "&Yes" ...), and records the box's text.
void ClickInNextModal(const QString& buttonText, QString* seenText = nullptr);

}  // namespace testsupport
