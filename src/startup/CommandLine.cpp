#include "startup/CommandLine.h"

#include <cstdint>
#include <limits>

#include "platform/Strings.h"
#include "platform/TextEncoding.h"
#include "startup/NumericText.h"

namespace startup {

namespace {

constexpr int kLow = std::numeric_limits<std::int16_t>::min();
constexpr int kHigh = std::numeric_limits<std::int16_t>::max();

// Takes the next field off `rest`: the trimmed text before the next "|", or the whole of `rest`
// when none is left. `last` tells which case it was.
std::string nextField(std::string& rest, bool& last) {
  const auto bar = rest.find('|');
  last = bar == std::string::npos;
  std::string field = platform::trim(last ? rest : rest.substr(0, bar));
  rest = last ? "" : platform::trim(rest.substr(bar + 1));
  return field;
}

// A position field: a last field that is not numeric counts as 0; any other field that is not
// numeric leaves the position unchanged.
void readPosition(const std::string& field, bool last, int& position) {
  auto value = numericValue(field);
  if (!value && last) value = 0.0;
  if (value) position = roundHalfEven(*value, kLow, kHigh);
}

}  // namespace

void parseCommandLine(const std::string& commandLine, AppParams& params) {
  params.productCode = "";
  const auto bar = commandLine.find('|');
  params.standAlone = bar == std::string::npos;
  // Stand-alone: operator XXX, function 9 (none).
  params.operatorCode =
      platform::upperCase(params.standAlone ? "xxx" : platform::trim(commandLine.substr(0, bar)));
  std::string rest =
      params.standAlone ? std::string(1, '9') : platform::trim(commandLine.substr(bar + 1));

  bool last = false;
  const auto function = numericValue(nextField(rest, last));
  params.startFunction = function ? roundHalfEven(*function, kLow, kHigh) : 0;
  std::string field = nextField(rest, last);
  readPosition(field, last, params.windowLeft);
  field = nextField(rest, last);
  readPosition(field, last, params.windowTop);
  params.productCode = nextField(rest, last);
  // The suite's Windows programs hand codes over in their code page; the program works in UTF-8.
  if (!platform::isValidUtf8(params.productCode))
    params.productCode = platform::cp1252ToUtf8(params.productCode);
}

}  // namespace startup
