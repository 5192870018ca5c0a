#include "AutoSaveSession.h"

#include "shared/NumberField.h"

std::optional<QString> AutoSaveSession::editSerial(const QString& text)
{
    const HeldField held =
        HoldField(text, 0, NumberField::parseFloor(m_naming.maximum).value_or(0), SerialValue(m_naming));
    if (held.replacement)
        return held.replacement;
    if (NumberField::parseFloor(text))
        m_naming.serial = text;
    return std::nullopt;
}

void AutoSaveSession::fileWritten(const NamingState& after)
{
    const bool overwriteAllowed = m_naming.overwriteAllowed;
    m_naming = after;
    m_naming.overwriteAllowed = overwriteAllowed;
}
