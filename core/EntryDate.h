// The QSO date as the operator types it into the entry row, normalised to the "dd/mm/yy" that
// the QSO lines store. A date of one- or two-digit day and month and a two- or four-digit year
// separated by "/" is normalised by its parts (1/12/23 gives 01/12/23); any other text gets the
// field's rules by character positions, which expand the digit-only shortcuts 1723, 160723 and
// 16072023 and leave the rest for the commit to check.
#pragma once

#include <string>
#include <string_view>

namespace keldra {

// The normalised date. The character rules, in order: a "/" in position 5 gets a "0" before
// position 4, then a "/" in position 4 a "0" before position 3, then a "/" in position 2 a "0" in
// front; ten characters keep 1-6 and 9-10; four, six or eight digits are split as dmyy, ddmmyy or
// ddmmyyyy.
std::string NormalizeTypedDate(std::string_view text);

}  // namespace keldra
