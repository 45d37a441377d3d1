#pragma once
// The fixed signal-group type definitions of the configuration document
// ("sig_group_types"): for each signal-group type, how the states of its directions
// map onto the outputs of its heads. Written verbatim; the model library reads them.

#include "controller/TrendTypes.h"
#include "json/JsonText.h"

namespace vantor {

// The definition written for a signal-group type 0..8 (type 2, the arrow, uses the
// transport definition); a null value for any other number.
const json::Json &SigGroupTypeTemplate(int sigGroupType);

// The group kind a reader creates for a definition's "type": 2 pedestrian, 4 tram,
// 5 reversible, 6 and 7 the panels, 8 information section, 9 lamp, any other value
// transport.
GroupKind KindForTemplateType(long long fileType);

// Direction type codes of the document ("at" / "type"): 0 -> 1, 1 -> 2, 3 -> 3, ...,
// types the editor never creates -> 0; reading maps back, 0 or unknown codes -> 8.
int DirectionTypeToFile(int trendType);
int DirectionTypeFromFile(long long fileType);

} // namespace vantor
