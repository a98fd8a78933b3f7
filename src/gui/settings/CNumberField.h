#pragma once

#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

// The number edits of the setting pages: right-aligned, of one width, read in the C locale.
class CNumberField {
public:
    static QLineEdit* Create(QWidget* parent, int id, const QString& text);
    static QLineEdit* Create(QWidget* parent, int id, float value);
    // The field's number, or nullopt when it holds none.
    static std::optional<double> Read(const QLineEdit* field);
    // The field's float, or nullopt when it holds none or one beyond the float range.
    static std::optional<float> ReadFloat(const QLineEdit* field);
    // The number of a field that has been validated (0 otherwise).
    static double Value(const QLineEdit* field);
};
