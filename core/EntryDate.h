// The QSO date as the operator types it into the entry row, normalised to the "dd/mm/yy" that
// the QSO lines store. A date of one- or two-digit day and month and a two- or four-digit year
// separated by "/" is normalised by its parts (1/12/23 gives 01/12/23); the digit-only shortcuts
// 1723, 160723 and 16072023 are expanded; any other text is left for the commit to refuse.
#pragma once

#include <string>
#include <string_view>

namespace keldra {

// The normalised date, or the text unchanged when it is none of the forms above (a ten-character
// text other than a "/" date keeps characters 1-6 and 9-10, as the field always did).
std::string NormalizeTypedDate(std::string_view text);

}  // namespace keldra
