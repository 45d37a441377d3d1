#include "controller/ConflictMatrix.h"

#include <algorithm>

namespace vantor {

void TConflictMatrix::Resize(int size)
{
    size = std::max(size, 0);
    if (size == Size())
        return;
    const TConflictCell fresh{DefaultRelation, kNewCellTime};
    cells_.resize(static_cast<std::size_t>(size));
    for (auto &row : cells_)
        row.resize(static_cast<std::size_t>(size), fresh);
}

void TConflictMatrix::RemoveDirections(std::vector<int> indices)
{
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    // From the highest index down, so that the lower indices stay valid.
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        const int index = *it;
        if (index < 0 || index >= Size())
            continue;
        cells_.erase(cells_.begin() + index);
        for (auto &row : cells_)
            row.erase(row.begin() + index);
    }
}

bool TConflictMatrix::IsCell(int row, int column) const
{
    return row >= 0 && column >= 0 && row < Size() && column < Size() && row != column;
}

std::uint8_t TConflictMatrix::Relation(int row, int column) const
{
    return IsCell(row, column)
               ? cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].Relation
               : 0;
}

std::int32_t TConflictMatrix::Time(int row, int column) const
{
    return IsCell(row, column) ? cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].Time
                               : 0;
}

void TConflictMatrix::SetRelation(int row, int column, std::uint8_t relation)
{
    if (IsCell(row, column))
        cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].Relation = relation;
}

void TConflictMatrix::SetTime(int row, int column, std::int32_t time)
{
    if (IsCell(row, column))
        cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].Time = time;
}

void TConflictMatrix::CycleRelation(int row, int column)
{
    const std::uint8_t relation = Relation(row, column);
    SetRelation(row, column,
                relation == kNoConflict    ? kConditional
                : relation == kConditional ? kConflict
                                           : kNoConflict);
}

} // namespace vantor
