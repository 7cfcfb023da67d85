#include "access/LoginPassword.h"

#include "access/PasswordHash.h"
#include "store/DataSet.h"

namespace accesscontrol {

int CountMatchingPasswords(store::Connection& connection, const QString& text) {
    store::Query query;
    query.setConnection(&connection);
    query.setSql(QStringLiteral("select PASSWORD from ADMINISTRATOR_ACCOUNT"));
    query.open();
    int matches = 0;
    for (int row = 0; row < query.recordCount(); ++row) {
        if (PasswordMatches(query.valueAt(row, 0).toString(), text)) {
            ++matches;
        }
    }
    query.close();
    return matches;
}

}  // namespace accesscontrol
