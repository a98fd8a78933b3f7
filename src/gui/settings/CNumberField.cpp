#include "gui/settings/CNumberField.h"

#include "appcore/CSettingValidation.h"

#include <QLineEdit>

#include <cmath>

static constexpr int kFieldWidth = 90;

QLineEdit* CNumberField::Create(QWidget* parent, int id, const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::number(id));
    field->setFixedWidth(kFieldWidth);
    field->setAlignment(Qt::AlignRight);
    return field;
}

QLineEdit* CNumberField::Create(QWidget* parent, int id, float value) {
    return Create(parent, id, QString::fromStdString(CSettingValidation::FormatNumber(value)));
}

std::optional<double> CNumberField::Read(const QLineEdit* field) {
    return CSettingValidation::ParseNumber(field->text().toStdString());
}

std::optional<float> CNumberField::ReadFloat(const QLineEdit* field) {
    const std::optional<double> value = Read(field);
    if (!value || !std::isfinite(static_cast<float>(*value)))
        return std::nullopt;
    return static_cast<float>(*value);
}

double CNumberField::Value(const QLineEdit* field) {
    return Read(field).value_or(0.0);
}
