#pragma once

#include "core/RawValue.h"
#include "store/ModelColumn.h"
#include "store/StoreResult.h"

#include <QVariantList>

#include <optional>
#include <vector>

namespace vesk {

// Decodes one stored row, column by column. The first value that cannot be
// decoded is remembered as a data-corruption error; later reads then return
// empty values and the caller reports error().
class ColumnReader {
public:
    ColumnReader(const char* table, const std::vector<ModelColumn>& columns, const QVariantList& values);

    QUuid uuid(int column);
    QDateTime date(int column);
    std::optional<QDateTime> optionalDate(int column);
    qint64 integer(int column);
    bool boolean(int column);
    QString text(int column);
    std::optional<QString> optionalText(int column);
    QStringList list(int column);

    template <typename E>
    std::optional<E> optionalRaw(int column)
    {
        const std::optional<QString> raw = optionalText(column);
        if (!raw)
            return std::nullopt;
        const std::optional<E> value = fromRaw<E>(*raw);
        if (!value)
            fail(column, *raw);
        return value;
    }

    const std::optional<StoreError>& error() const { return error_; }

private:
    const QVariant& at(int column);
    bool isNull(int column);
    void fail(int column, const QString& stored);

    const char* table_;
    const std::vector<ModelColumn>& columns_;
    QVariantList values_;
    std::optional<StoreError> error_;
};

} // namespace vesk
