// The check of typed text for the characters it must not carry, and the
// trimming of blanks around it. The check must not depend on how the text
// is normalized or where it is cut, and a text it passes holds none of the
// rejected characters, composed or decomposed.
#include "FuzzSupport.h"
#include "store/InputText.h"

namespace {

const QString kRejectedCharacters = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");

bool HoldsRejected(const QString& text) {
    for (const QChar ch : text) {
        if (kRejectedCharacters.contains(ch)) {
            return true;
        }
    }
    return false;
}

void CheckClean(const QString& text) {
    const bool clean = IsCleanInputText(text);
    if (clean) {
        Require(!HoldsRejected(text), "a clean text holds no rejected character", text);
        Require(!HoldsRejected(text.normalized(QString::NormalizationForm_D)),
                "a clean text holds no rejected character once decomposed", text);
        Require(!HoldsRejected(text.normalized(QString::NormalizationForm_C)),
                "a clean text holds no rejected character once composed", text);
    }
    Require(IsCleanInputText(text.normalized(QString::NormalizationForm_C)) == clean &&
                IsCleanInputText(text.normalized(QString::NormalizationForm_D)) == clean,
            "the check does not depend on the normalization form", text);
    // Cut between two characters, never inside a surrogate pair.
    qsizetype cut = text.size() / 2;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate()) {
        --cut;
    }
    Require(clean == (IsCleanInputText(text.left(cut)) && IsCleanInputText(text.mid(cut))),
            "a text is clean when both its parts are", text);
}

void CheckTrim(const QString& text) {
    const QString trimmed = TrimInputText(text);
    const qsizetype begin = text.indexOf(trimmed);
    Require(begin >= 0 && (trimmed.isEmpty() || text.mid(begin, trimmed.size()) == trimmed),
            "trimming keeps a part of the text", text, trimmed);
    Require(
        trimmed.isEmpty() || (trimmed.front().unicode() > 0x20 && trimmed.back().unicode() > 0x20),
        "trimming leaves no blank or control character at either end", text, trimmed);
    Require(TrimInputText(trimmed) == trimmed, "trimming twice changes nothing", text, trimmed);
    qsizetype kept = 0;
    for (const QChar ch : text) {
        kept += ch.unicode() > 0x20 ? 1 : 0;
    }
    qsizetype keptInTrimmed = 0;
    for (const QChar ch : trimmed) {
        keptInTrimmed += ch.unicode() > 0x20 ? 1 : 0;
    }
    Require(kept == keptInTrimmed, "trimming removes only blanks and control characters", text,
            trimmed);
    Require(IsCleanInputText(trimmed) == IsCleanInputText(text),
            "trimming does not change whether a text is clean", text, trimmed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = FuzzText(data, size);
    CheckClean(text);
    CheckTrim(text);
    return 0;
}
