// libFuzzer target for the range and card notation: no crash or undefined
// behaviour on any bytes; an accepted range has weights in 0..1 and its
// written form reads back to the same weights; accepted cards print back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "card.h"
#include "range.h"

static void Check(bool condition)
{
    if (!condition)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    ostrel::cards::Range range;
    if (ostrel::cards::ParseRange(text, range).Ok)
    {
        for (double weight : range.Weight)
            Check(weight >= 0.0 && weight <= 1.0);
        ostrel::cards::Range again;
        Check(ostrel::cards::ParseRange(ostrel::cards::FormatRange(range), again).Ok);
        Check(again.Weight == range.Weight);
    }
    std::vector<ostrel::cards::Card> cards;
    if (ostrel::cards::ParseCards(text, cards).Ok)
    {
        std::vector<ostrel::cards::Card> again;
        Check(ostrel::cards::ParseCards(ostrel::cards::FormatCards(cards), again).Ok && again == cards);
    }
    return 0;
}
