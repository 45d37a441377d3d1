#pragma once
// The conflict matrix: one row and one column per direction, in direction-index
// order. Each cell holds the relation of the row's direction to the column's and a
// clearance time. The diagonal is never edited or stored.

#include <cstdint>
#include <vector>

namespace vantor {

struct TConflictCell {
    std::uint8_t Relation = 10; // 0 none, 5 conditional, 10 conflict
    std::int32_t Time = 2;      // clearance time, s
};

class TConflictMatrix {
public:
    static constexpr std::uint8_t kNoConflict = 0;
    static constexpr std::uint8_t kConditional = 5;
    static constexpr std::uint8_t kConflict = 10;
    static constexpr std::int32_t kNewCellTime = 2;

    int Size() const { return static_cast<int>(cells_.size()); }

    // Cuts or extends rows and columns to size; new cells get the default relation
    // and the clearance time 2, existing cells keep their values.
    void Resize(int size);
    // Removes the rows and columns of these direction indices, so that every other
    // pair keeps its relation and time while later directions move up.
    void RemoveDirections(std::vector<int> indices);

    // 0 / 0 outside the matrix and on the diagonal.
    std::uint8_t Relation(int row, int column) const;
    std::int32_t Time(int row, int column) const;
    // Ignored outside the matrix and on the diagonal.
    void SetRelation(int row, int column, std::uint8_t relation);
    void SetTime(int row, int column, std::int32_t time);
    // The editor's right click: 0 -> 5 -> 10 -> 0 (any other relation -> 0).
    void CycleRelation(int row, int column);

    std::uint8_t DefaultRelation = kConflict; // relation of new cells

private:
    bool IsCell(int row, int column) const;
    std::vector<std::vector<TConflictCell>> cells_;
};

} // namespace vantor
