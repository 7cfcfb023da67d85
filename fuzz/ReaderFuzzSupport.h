#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "FuzzSupport.h"
#include "interchange/InterchangeRecords.h"

// The records a reader returned, once written by the matching writer, read
// again: the same records, nothing skipped or noted. describe names a record
// in the report of a failure.
template <typename Record, typename Read, typename Describe>
void RequireReadsBack(const QVector<Record>& records, const QByteArray& written, Read read,
                      Describe describe, const QString& input) {
    interchange::Outcome outcome;
    QVector<Record> again;
    try {
        again = read(written, outcome);
    } catch (const interchange::InterchangeError& error) {
        Require(false, "the writer's file reads back", input, error.message());
    }
    Require(outcome.skipped == 0 && outcome.notes.isEmpty(), "the writer's file reads back whole",
            input, outcome.notes.join(u'\n'));
    Require(again.size() == records.size(), "as many records read back as written", input);
    for (int i = 0; i < records.size(); ++i) {
        Require(again.at(i) == records.at(i), "a record written reads back the same", input,
                describe(records.at(i)) + " != " + describe(again.at(i)));
    }
}
