// Expands PARAM_ANY (stem, group, ...) once for every row of the parameter table, whatever the
// row's kind, then undefines it. Included where the rows are wanted (in a function body too), so
// it has no include guard on purpose.
#include "parameters/ParameterTable.h"

#define PARAM_FLOAT PARAM_ANY
#define PARAM_DECIBEL PARAM_ANY
#define PARAM_INT PARAM_ANY
#define PARAM_BOOL PARAM_ANY
#define PARAM_PAGE PARAM_ANY
RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE
#undef PARAM_ANY
