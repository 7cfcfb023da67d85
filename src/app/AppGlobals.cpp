#include "app/AppGlobals.h"

AppGlobals& app() {
    static AppGlobals values;
    return values;
}
