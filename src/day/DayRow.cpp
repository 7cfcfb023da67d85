#include "day/DayRow.h"

#include "store/Command.h"
#include "store/DatabaseError.h"
#include "widgets/Messages.h"

namespace daywindow {
namespace {

const QString kOpensToBeRead = QStringLiteral(
    "Ανοίγει μόνο για να το δεις: ό,τι γράψεις δεν θα αποθηκευτεί όσο διαρκεί το πρόβλημα.");

bool DayRowExists(const DayRowRequest& request) {
    try {
        return store::ScalarQuery(*request.connection, request.countSql, {request.isoDate})
                   .toInt() > 0;
    } catch (const store::DatabaseError&) {
        return false;
    }
}

}  // namespace

bool EnsureDayRow(QWidget* parent, const DayRowRequest& request) {
    try {
        request.insert->executeEnsuringRow();
        return true;
    } catch (const store::DatabaseError& error) {
        const bool opens = DayRowExists(request);
        QString text = request.headline + QStringLiteral("\r\r") + error.message();
        if (opens) {
            text += QStringLiteral("\r\r") + kOpensToBeRead;
        }
        widgets::ShowStandardError(parent, text);
        return opens;
    }
}

}  // namespace daywindow
