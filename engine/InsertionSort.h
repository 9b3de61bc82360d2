// Sorting the few, mostly ordered items of a scanline (a polygon's edges by their first row,
// a row's crossings from left to right) in place, without allocating.
#pragma once

namespace lumivane {

// Sorts items[0..count) by less, keeping equal items in their order.
template <typename T, typename Less> void insertionSort(T* items, int count, Less less) {
    for (int i = 1; i < count; ++i) {
        const T item = items[i];
        int j = i;
        for (; j > 0 && less(item, items[j - 1]); --j)
            items[j] = items[j - 1];
        items[j] = item;
    }
}

} // namespace lumivane
