/*
 * Sets up a field for the equity tests: chips of the first seats, the prizes
 * of the first places, the seats shown, with the ladder recounted and the
 * recorded window calls cleared.
 */
#ifndef OSTREL_EQUITY_FIELD_H
#define OSTREL_EQUITY_FIELD_H

#include <cstdint>
#include <vector>

void SetEquityField(const std::vector<int32_t> &chips, const std::vector<double> &payouts,
                    int32_t playerCount = 10);

#endif
