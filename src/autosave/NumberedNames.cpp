#include "NumberedNames.h"

#include "platform/FileProbe.h"
#include "shared/NumberField.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t LeastSearchLimit = 9999;

// The whole part of a number field's text; 0 when it is no number.
std::int64_t wholeValue(const QString& text) { return NumberField::parseFloor(text).value_or(0); }

std::int64_t maximumValue(const NamingState& state) { return wholeValue(state.maximum); }

std::int64_t searchLimit(const NamingState& state) { return std::max(LeastSearchLimit, maximumValue(state)); }

// Through the field rule: held to 0..maximum.
void setSerial(NamingState& state, std::int64_t value)
{
    state.serial = QString::number(std::clamp<std::int64_t>(value, 0, std::max<std::int64_t>(maximumValue(state), 0)));
}

QString prefixOf(const QString& pattern) { return pattern.left(pattern.indexOf(u'#')); }

QString tailOf(const QString& pattern) { return pattern.mid(pattern.lastIndexOf(u'#') + 1); }

// The tail with a final "$" replaced by the suffix number, when the tail is longer
// than "_$".
QString tailWithSuffix(const NamingState& state)
{
    const QString tail = tailOf(state.pattern);
    if (tail.size() > 2 && tail.endsWith(u'$'))
        return tail.left(tail.size() - 1) + QString::number(state.SuffixNumber);
    return tail;
}

QString formatted(const NamingState& state, std::int64_t value)
{
    return QStringLiteral("%1").arg(value, state.DigitCount, 10, QLatin1Char('0'));
}

QString nameFor(const NamingState& state, std::int64_t value, const QString& tail)
{
    return state.folder + u'/' + prefixOf(state.pattern) + formatted(state, value) + tail + state.extension;
}

void ensureRun(NamingState& state)
{
    if (!state.pattern.contains(u'#'))
        static_cast<void>(NormalizePattern(state));
}

// The first free suffix from first on, named by candidate; the suffix stays when none is.
void searchSuffix(NamingState& state, std::int64_t first, const std::function<QString(std::int64_t)>& candidate,
                  const FileIsFree& isFree)
{
    for (std::int64_t j = first; j <= searchLimit(state); ++j) {
        if (isFree(candidate(j))) {
            state.SuffixNumber = j;
            return;
        }
    }
}

}  // namespace

FileIsFree FreeWhereAbsent(const FileProbe& files)
{
    return [&files](const QString& name) { return !files.exists(name); };
}

bool IsInvalidNameCharacter(QChar c) { return QStringView(u"?\\*:/|\"<>").contains(c); }

PatternCheck NormalizePattern(NamingState& state)
{
    const auto invalid = std::find_if(state.pattern.cbegin(), state.pattern.cend(), IsInvalidNameCharacter);
    if (invalid != state.pattern.cend()) {
        state.pattern.truncate(invalid - state.pattern.cbegin());
        return PatternCheck::Cut;
    }
    const qsizetype first = state.pattern.indexOf(u'#');
    if (first < 0) {
        state.pattern += QStringLiteral("_####");
        state.DigitCount = 4;
        state.maximum = QStringLiteral("9999");
        return PatternCheck::Completed;
    }
    const qsizetype last = state.pattern.lastIndexOf(u'#');
    const QStringView run = QStringView(state.pattern).mid(first, last - first + 1);
    if (std::any_of(run.begin(), run.end(), [](QChar c) { return c != u'#'; }))
        return PatternCheck::BrokenRun;
    state.DigitCount = static_cast<int>(run.size());
    state.maximum = QString(state.DigitCount, u'9');
    return PatternCheck::Normalized;
}

ComposedName ComposeFileName(NamingState& state)
{
    ensureRun(state);
    const QString base =
        state.folder + u'/' + prefixOf(state.pattern) + formatted(state, SerialValue(state)) + tailWithSuffix(state);
    return {base, base + state.extension};
}

void AdvanceCounter(NamingState& state, const QString& baseName, const FileIsFree& isFree)
{
    // By value, not by text: "9,999" as a spin button writes it is the maximum too,
    // and must not be saved over once more.
    const std::int64_t current = SerialValue(state);
    if (current >= maximumValue(state)) {
        OverflowStep(state, baseName, isFree);
        return;
    }
    if (state.overwriteAllowed) {
        setSerial(state, current + 1);
        return;
    }
    const QString tail = tailWithSuffix(state);
    QString lastName = baseName;
    for (std::int64_t i = current + 1; i <= maximumValue(state); ++i) {
        lastName = nameFor(state, i, tail);
        if (isFree(lastName)) {
            setSerial(state, i);
            return;
        }
    }
    OverflowStep(state, lastName, isFree);
}

void OverflowStep(NamingState& state, const QString& lastName, const FileIsFree& isFree)
{
    if (lastName.endsWith(QStringLiteral("_$"))) {
        if (state.overwriteAllowed) {
            ++state.SuffixNumber;
        } else {
            const QString tail = tailOf(state.pattern);
            const QString stem = tail.left(tail.lastIndexOf(u'_') + 1);
            searchSuffix(
                state, state.SuffixNumber + 1,
                [&](std::int64_t j) { return nameFor(state, 0, stem + QString::number(j)); }, isFree);
        }
    } else {
        const QString tail = tailWithSuffix(state);
        state.pattern += QStringLiteral("_$");
        if (!state.overwriteAllowed)
            searchSuffix(
                state, 0, [&](std::int64_t j) { return nameFor(state, 0, tail + u'_' + QString::number(j)); }, isFree);
    }
    state.serial = QStringLiteral("0");
}

bool FindStartNumber(NamingState& state, const FileIsFree& isFree)
{
    ensureRun(state);
    const QString tail = tailOf(state.pattern);
    for (std::int64_t i = SerialValue(state); i <= maximumValue(state); ++i) {
        if (isFree(nameFor(state, i, tail))) {
            setSerial(state, i);
            return true;
        }
    }
    return false;
}

std::int64_t SerialValue(const NamingState& state)
{
    return std::clamp<std::int64_t>(wholeValue(state.serial), 0, std::max<std::int64_t>(maximumValue(state), 0));
}

QString BrokenRunText()
{
    return QCoreApplication::translate("NumberedNames", "ワイルドカード文字(#)は連続で入力してください。");
}
