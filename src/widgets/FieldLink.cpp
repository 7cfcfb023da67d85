#include "widgets/FieldLink.h"

namespace widgets {

FieldLink::FieldLink(std::function<void()> refresh) : refresh_(std::move(refresh)) {}

FieldLink::~FieldLink() {
    QObject::disconnect(changed_);
}

void FieldLink::setDataSource(DataSource* source) {
    QObject::disconnect(changed_);
    source_ = source;
    if (source_ != nullptr) {
        changed_ = QObject::connect(source_, &DataSource::changed, [this] { refresh_(); });
    }
    refresh_();
}

void FieldLink::setDataField(const QString& name) {
    name_ = name;
    refresh_();
}

store::DataSet* FieldLink::dataSet() const {
    return source_ != nullptr ? source_->dataSet() : nullptr;
}

const store::FieldInfo* FieldLink::field() const {
    const store::DataSet* set = dataSet();
    if (set == nullptr || !set->isActive()) {
        return nullptr;
    }
    const int column = set->fieldIndex(name_);
    return column < 0 ? nullptr : &set->fieldInfo(column);
}

QVariant FieldLink::value() const {
    const store::DataSet* set = dataSet();
    if (field() == nullptr) {
        return {};
    }
    return set->value(set->fieldIndex(name_));
}

bool FieldLink::canModify() const {
    const store::FieldInfo* info = field();
    return info != nullptr && !info->readOnly && dataSet()->isUpdatable();
}

void FieldLink::write(const QVariant& value) {
    dataSet()->setValue(name_, value);
}

}  // namespace widgets
