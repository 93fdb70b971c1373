#pragma once

#include <QString>

#include <map>

namespace vesk::telemetry {

// Units of each currency per US dollar (ISO 4217 codes; a snapshot of market
// rates on one day). The dollar itself is not in the table.
const std::map<QString, double>& usdExchangeRates();

} // namespace vesk::telemetry
