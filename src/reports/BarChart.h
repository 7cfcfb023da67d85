#pragma once

#include <QObject>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextObjectInterface>
#include <QVector>

namespace reports {

// A bar chart drawn inside a report document with QPainter, so that its
// labels stay text (selectable in a PDF) and its lines stay sharp.
class BarChart : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr int kObjectType = QTextFormat::UserObject + 1;

    explicit BarChart(QObject* parent = nullptr);

    // The character format that carries one chart's data and size.
    static QTextCharFormat Format(const QStringList& labels, const QVector<double>& values,
                                  const QSizeF& size);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};

}  // namespace reports
