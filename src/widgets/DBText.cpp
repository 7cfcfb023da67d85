#include "widgets/DBText.h"

#include "widgets/FieldText.h"

namespace widgets {

DBText::DBText(QWidget* parent) : QLabel(parent), link_([this] { showFieldValue(); }) {
    setTextFormat(Qt::PlainText);
}

void DBText::setDataSource(DataSource* source) {
    link_.setDataSource(source);
}

void DBText::setDataField(const QString& name) {
    link_.setDataField(name);
}

void DBText::showFieldValue() {
    const store::FieldInfo* field = link_.field();
    setText(field != nullptr ? FieldDisplayText(*field, link_.value()) : QString());
}

}  // namespace widgets
