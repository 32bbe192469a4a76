/*
 * Small fields whose $EV are known in closed form, shared by the tests of
 * every method: the worked example, two and three players, empty seats,
 * ladders shorter and longer than the field, unpaid places.
 */
#ifndef OSTREL_SMALL_FIELDS_H
#define OSTREL_SMALL_FIELDS_H

#include <cstdint>
#include <vector>

struct SmallField
{
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;
    std::vector<double> Equity;
};

inline std::vector<SmallField> SmallFields()
{
    return {
        {{5000, 3000, 2000}, {50, 30, 20}, {38.39285714285714, 32.75, 28.857142857142858}},
        {{1, 3}, {10, 2, 0, 0}, {4.0, 8.0}},
        {{0, 1, 0, 3}, {10}, {0.0, 2.5, 0.0, 7.5}},
        {{0, 7, 0}, {5, 3}, {0.0, 5.0, 0.0}}, // one player takes place 1
        {{2, 2}, {}, {0.0, 0.0}},
        {{2, 2}, {0, 0}, {0.0, 0.0}},
        {{1, 1}, {6, 4, 1000}, {5.0, 5.0}}, // places beyond the players pay nothing
        {{1, 1, 2}, {0, 4}, {1.0 + 1.0 / 3.0, 1.0 + 1.0 / 3.0, 1.0 + 1.0 / 3.0}},
    };
}

#endif
