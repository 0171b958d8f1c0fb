#include "catalog/Recordset.h"

#include "catalog/Connection.h"

#include <QSqlQuery>

namespace tarl {

Recordset::Recordset() = default;

Recordset::~Recordset() {
    clear();
}

bool Recordset::eof() const {
    return eof_;
}

QVariant Recordset::field(int position) const {
    if (eof_ || !query_ || position < 0 || position >= names_.size())
        return {};
    if (query_->isNull(position))
        return {};
    return query_->value(position);
}

QVariant Recordset::field(const QString& name) const {
    for (int i = 0; i < names_.size(); ++i) {
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return field(i);
    }
    return {};
}

int Recordset::fieldCount() const {
    return static_cast<int>(names_.size());
}

void Recordset::moveNext() {
    if (eof_ || !query_)
        return;
    if (query_->next())
        return;
    finish();
}

void Recordset::clear() {
    finish();
    names_.clear();
}

void Recordset::finish() {
    eof_ = true;
    if (owner_) {
        Connection* owner = owner_;
        owner_ = nullptr;
        owner->release(*this);
    }
    // Finalising the statement ends its read of the file, so it does not hold back the
    // write-ahead log's checkpoints while the holder sits unread.
    query_.reset();
}

} // namespace tarl
