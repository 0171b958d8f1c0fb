#include "catalog/engine/Recordset.h"

#include "catalog/engine/Connection.h"

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
    if (eof_ || position < 0 || position >= names_.size())
        return {};
    if (!query_)
        return kept_.empty() ? QVariant() : kept_.front()[static_cast<size_t>(position)];
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
    if (eof_)
        return;
    if (!query_) {
        if (!kept_.empty())
            kept_.pop_front();
        eof_ = kept_.empty();
        return;
    }
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
    kept_.clear();
    if (owner_) {
        Connection* owner = owner_;
        owner_ = nullptr;
        owner->release(*this);
    }
    // Finalising the statement ends its read of the file, so it does not hold back the
    // write-ahead log's checkpoints while the holder sits unread.
    query_.reset();
}

void Recordset::detach() {
    if (eof_ || !query_) {
        finish();
        return;
    }
    const auto keep = [this] {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(names_.size()));
        for (int i = 0; i < names_.size(); ++i)
            row.push_back(query_->isNull(i) ? QVariant() : query_->value(i));
        kept_.push_back(std::move(row));
    };
    do
        keep();
    while (query_->next());
    // The connection lets go of this holder itself.
    owner_ = nullptr;
    query_.reset();
}

} // namespace tarl
