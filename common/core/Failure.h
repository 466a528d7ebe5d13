#pragma once

#include <QString>
#include <stdexcept>

namespace lumen {

/**
 * A run-time failure with a description meant for the operator.
 * Boundaries that turn failures into replies ("Error: " + description) or
 * messages catch this type.
 */
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    const QString &description() const noexcept { return m_description; }

private:
    QString m_description;
};

/** Descriptions shared by the conversions, so every program words them alike. */
inline const QString kOverflow = QStringLiteral("Overflow");
inline const QString kTypeMismatch = QStringLiteral("Type mismatch");

} // namespace lumen
