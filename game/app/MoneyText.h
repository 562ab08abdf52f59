#pragma once

#include <cstdint>

#include "engine/core/String.h"

// An amount of money as players read it everywhere: the dictionary text "MoneyDollar" with its
// first "#p" replaced by the amount, its digits grouped by the thousands delimiter.
CStringW formatMoneyText(int32_t amount);
