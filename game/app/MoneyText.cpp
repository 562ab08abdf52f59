#include "game/app/MoneyText.h"

#include "engine/core/EngineServices.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/Dictionary.h"
#include "game/app/LogosScene.h"

CStringW formatMoneyText(int32_t amount) {
    const CStringW digits = formatGroupedInt(amount, thousandsDelimiter);
    return CEngineServices::instance()->getDictionary()->substituteParams("MoneyDollar", digits,
                                                                          u"", u"", u"");
}
