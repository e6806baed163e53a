#include "mainwindow.h"

#include "constants.h"
#include "qlabelex.h"
#include "qwebcolorpicker.h"
#include "ui_mainwindow.h"

#include <cmath>

namespace {

// Values of a parameter map are read through their text.
int intFromText(const QString& text)
{
    return text.toInt(nullptr, 10);
}

bool boolFromText(const QString& text)
{
    return text == QLatin1String("true");
}

// A finite number, truncated toward zero and kept well inside int's range;
// the spin box clamps it further.
int truncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(qBound(-1e9, value, 1e9));
}

// Opacities are fractions on the map and percents on the spin boxes. Rounded,
// so that a fraction written back from a spin box gives the same percent.
int percentFromText(const QString& text)
{
    const double percent = text.toDouble() * 100.0;
    if (!std::isfinite(percent))
        return 0;
    return qRound(qBound(-1e9, percent, 1e9));
}

void enableWhileChecked(const std::initializer_list<QWidget*>& widgets, int state)
{
    for (QWidget* widget : widgets)
        widget->setEnabled(state != Qt::Unchecked);
}

}

void MainWindow::resetTemplate()
{
    const auto text = [this](const QString& key) { return defaultParams.value(key).toString(); };

    ui->widgetBkgColor->setColor(text(PARAM_BG_COLOR));
    ui->widgetBkgBorderColor->setColor(text(PARAM_BORDER_COLOR));
    ui->widgetBkgShadowColor->setColor(text(PARAM_BG_SHADOW_COLOR));
    ui->widgetIconColor->setColor(text(PARAM_COLOR));
    ui->widgetIconShadowColor->setColor(text(PARAM_SHADOW_COLOR));
    ui->widgetIconStrokeColor->setColor(text(PARAM_STROKE_COLOR));

    ui->groupBox_Background->setChecked(false);
    ui->checkBoxBkgBorder->setChecked(false);
    ui->checkBoxBkgGradient->setChecked(false);
    ui->checkBoxBkgShadow->setChecked(false);
    ui->checkBoxIconGradient->setChecked(false);
    ui->checkBoxIconShadow->setChecked(false);
    ui->checkBoxIconStroke->setChecked(false);

    ui->checkBoxBkgLongShadow->setChecked(boolFromText(text(PARAM_BG_LONG_SHADOW)));
    ui->checkBoxIconLongShadow->setChecked(boolFromText(text(PARAM_LONG_SHADOW)));

    ui->spinBoxBkgOpacity->setValue(percentFromText(text(PARAM_BG_OPACITY)));
    ui->spinBoxBkgShadowX->setValue(intFromText(text(PARAM_BG_SHADOW_X)));
    ui->spinBoxBkgShadowY->setValue(intFromText(text(PARAM_BG_SHADOW_Y)));
    ui->spinBoxBkgShadowBlur->setValue(intFromText(text(PARAM_BG_SHADOW_BLUR)));
    ui->spinBoxBkgBorderWidth->setValue(intFromText(text(PARAM_BORDER_WIDTH)));
    ui->spinBoxBkgBorderRadius->setValue(intFromText(text(PARAM_BORDER_RADIUS)));
    ui->spinBoxBkgRotate->setValue(intFromText(text(PARAM_BG_ANGLE)));
    ui->spinBoxIconOpacity->setValue(percentFromText(text(PARAM_OPACITY)));
    ui->spinBoxIconShadowBlur->setValue(intFromText(text(PARAM_SHADOW_BLUR)));
    ui->spinBoxIconShadowX->setValue(intFromText(text(PARAM_SHADOW_X)));
    ui->spinBoxIconShadowY->setValue(intFromText(text(PARAM_SHADOW_Y)));
    ui->spinBoxIconStrokeWidth->setValue(intFromText(text(PARAM_STROKE_WIDTH)));
    ui->spinBoxIconOffsetX->setValue(intFromText(text(PARAM_MOVE_X)));
    ui->spinBoxIconOffsetY->setValue(intFromText(text(PARAM_MOVE_Y)));
    ui->spinBoxIconRotate->setValue(intFromText(text(PARAM_ANGLE)));
    ui->spinBoxIconScale->setValue(intFromText(text(PARAM_SCALE)));
}

void MainWindow::ApplyCssPropertysToWidgets(QMap<QString, QVariant>& params, QString addon)
{
    // The map may belong to a template list that a nested action reloads
    // while a gradient swatch is rendered: work on a copy.
    const QMap<QString, QVariant> entries = params;

    refreshEnabled = false;
    resetTemplate();
    styleParams = entries;
    addonLess = addon;

    while (QLayoutItem* item = ui->horizontalLayout_ColorSchemes->takeAt(0)) {
        if (QWidget* swatch = item->widget()) {
            // The swatch may be the sender of the click that led here.
            swatch->hide();
            swatch->deleteLater();
        }
        delete item;
    }

    const auto selectGradient = [this](const QString& gradient, TypePropertys side) {
        const bool icon = side == IconProperty;
        const int found = (icon ? iconGradients : bkgGradients).indexOf(gradient);
        const int index = found >= 0
            ? found
            : addGradient(gradient, (icon ? ui->widgetIconColor : ui->widgetBkgColor)->color(), side);
        (icon ? ui->comboBoxIconGradient : ui->comboBoxBkgGradient)->setCurrentIndex(index);
    };

    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString& key = it.key();
        const QString v = it.value().toString();

        if (key == PARAM_COLOR_SCHEMES) {
            for (const QString& piece : v.split(QStringLiteral(", "), Qt::KeepEmptyParts)) {
                const QString color = piece.toUpper();
                QLabelEx* swatch = new QLabelEx;
                swatch->setCursor(Qt::PointingHandCursor);
                swatch->setMinimumSize(20, 20);
                swatch->setMaximumSize(20, 20);
                swatch->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
                swatch->setStyleSheet(QStringLiteral("background-color:") + color);
                swatch->setProperty("SpecField", color);
                connect(swatch, SIGNAL(clicked()), this, SLOT(colorSchemesButtonPush()));
                ui->horizontalLayout_ColorSchemes->insertWidget(0, swatch);
            }
        } else if (key == PARAM_BG_COLOR) {
            ui->groupBox_Background->setChecked(true);
            ui->widgetBkgColor->setColor(v);
        } else if (key == PARAM_BG_GRADIENT) {
            ui->groupBox_Background->setChecked(true);
            ui->checkBoxBkgGradient->setChecked(true);
            selectGradient(v, BackgroundProperty);
        } else if (key == PARAM_BG_OPACITY) {
            ui->groupBox_Background->setChecked(true);
            ui->spinBoxBkgOpacity->setValue(percentFromText(v));
        } else if (key == PARAM_BG_SHADOW_COLOR) {
            ui->groupBox_Background->setChecked(true);
            ui->checkBoxBkgShadow->setChecked(true);
            ui->widgetBkgShadowColor->setColor(v);
        } else if (key == PARAM_BG_SHADOW_X || key == PARAM_BG_SHADOW_Y || key == PARAM_BG_SHADOW_BLUR) {
            ui->groupBox_Background->setChecked(true);
            ui->checkBoxBkgShadow->setChecked(true);
            QSpinBox* box = key == PARAM_BG_SHADOW_X ? ui->spinBoxBkgShadowX
                : key == PARAM_BG_SHADOW_Y         ? ui->spinBoxBkgShadowY
                                                   : ui->spinBoxBkgShadowBlur;
            box->setValue(intFromText(v));
        } else if (key == PARAM_BG_LONG_SHADOW) {
            ui->checkBoxBkgLongShadow->setChecked(boolFromText(v));
        } else if (key == PARAM_BORDER_COLOR) {
            ui->groupBox_Background->setChecked(true);
            ui->checkBoxBkgBorder->setChecked(true);
            ui->widgetBkgBorderColor->setColor(v);
        } else if (key == PARAM_BORDER_WIDTH || key == PARAM_BORDER_RADIUS) {
            ui->groupBox_Background->setChecked(true);
            ui->checkBoxBkgBorder->setChecked(true);
            (key == PARAM_BORDER_WIDTH ? ui->spinBoxBkgBorderWidth : ui->spinBoxBkgBorderRadius)->setValue(intFromText(v));
        } else if (key == PARAM_BG_ANGLE) {
            ui->groupBox_Background->setChecked(true);
            ui->spinBoxBkgRotate->setValue(intFromText(v));
        } else if (key == PARAM_COLOR) {
            ui->widgetIconColor->setColor(v);
        } else if (key == PARAM_GRADIENT) {
            ui->checkBoxIconGradient->setChecked(true);
            selectGradient(v, IconProperty);
        } else if (key == PARAM_OPACITY) {
            ui->spinBoxIconOpacity->setValue(percentFromText(v));
        } else if (key == PARAM_SHADOW_COLOR) {
            ui->checkBoxIconShadow->setChecked(true);
            ui->widgetIconShadowColor->setColor(v);
        } else if (key == PARAM_SHADOW_X || key == PARAM_SHADOW_Y || key == PARAM_SHADOW_BLUR) {
            ui->checkBoxIconShadow->setChecked(true);
            QSpinBox* box = key == PARAM_SHADOW_X ? ui->spinBoxIconShadowX
                : key == PARAM_SHADOW_Y         ? ui->spinBoxIconShadowY
                                                : ui->spinBoxIconShadowBlur;
            box->setValue(intFromText(v));
        } else if (key == PARAM_LONG_SHADOW) {
            ui->checkBoxIconLongShadow->setChecked(boolFromText(v));
        } else if (key == PARAM_MOVE_X) {
            ui->spinBoxIconOffsetX->setValue(intFromText(v));
        } else if (key == PARAM_MOVE_Y) {
            ui->spinBoxIconOffsetY->setValue(intFromText(v));
        } else if (key == PARAM_ANGLE) {
            ui->spinBoxIconRotate->setValue(intFromText(v));
        } else if (key == PARAM_SCALE) {
            ui->spinBoxIconScale->setValue(truncated(v.toFloat()));
        } else if (key == PARAM_STROKE_WIDTH) {
            ui->checkBoxIconStroke->setChecked(true);
            ui->spinBoxIconStrokeWidth->setValue(intFromText(v));
        } else if (key == PARAM_STROKE_COLOR) {
            ui->checkBoxIconStroke->setChecked(true);
            ui->widgetIconStrokeColor->setColor(v);
        }
    }

    if (ui->spinBoxIconStrokeWidth->value() == 0 || ui->widgetIconStrokeColor->color() == QLatin1String("transparent"))
        ui->checkBoxIconStroke->setChecked(false);

    refreshEnabled = true;
}

void MainWindow::GenerateUserParams()
{
    const auto gradientOf = [](QComboBox* combo) {
        const int index = combo->currentIndex();
        return index < 0 ? QString() : combo->itemData(index, Qt::UserRole).toString();
    };

    styleParams.insert(PARAM_FONT_FAMILY, currentFont.family());
    styleParams.insert(PARAM_COLOR, ui->widgetIconColor->color());
    if (ui->checkBoxIconGradient->isChecked())
        styleParams.insert(PARAM_GRADIENT, gradientOf(ui->comboBoxIconGradient));
    else
        styleParams.remove(PARAM_GRADIENT);
    styleParams.insert(PARAM_OPACITY, ui->spinBoxIconOpacity->value() / 100.0);

    if (ui->checkBoxIconShadow->isChecked()) {
        styleParams.insert(PARAM_SHADOW_COLOR, ui->widgetIconShadowColor->color());
        styleParams.insert(PARAM_SHADOW_X, ui->spinBoxIconShadowX->value());
        styleParams.insert(PARAM_SHADOW_Y, ui->spinBoxIconShadowY->value());
        styleParams.insert(PARAM_SHADOW_BLUR, ui->spinBoxIconShadowBlur->value());
        styleParams.insert(PARAM_LONG_SHADOW, ui->checkBoxIconLongShadow->isChecked());
    } else {
        for (const QString& key : {PARAM_SHADOW_COLOR, PARAM_SHADOW_X, PARAM_SHADOW_Y, PARAM_SHADOW_BLUR, PARAM_LONG_SHADOW})
            styleParams.remove(key);
    }

    styleParams.insert(PARAM_MOVE_X, ui->spinBoxIconOffsetX->value());
    styleParams.insert(PARAM_MOVE_Y, ui->spinBoxIconOffsetY->value());
    styleParams.insert(PARAM_ANGLE, ui->spinBoxIconRotate->value());
    styleParams.insert(PARAM_SCALE, ui->spinBoxIconScale->value());

    if (ui->checkBoxIconStroke->isChecked()) {
        styleParams.insert(PARAM_STROKE_COLOR, ui->widgetIconStrokeColor->color());
        styleParams.insert(PARAM_STROKE_WIDTH, ui->spinBoxIconStrokeWidth->value());
    } else {
        styleParams.remove(PARAM_STROKE_COLOR);
        styleParams.remove(PARAM_STROKE_WIDTH);
    }

    if (ui->groupBox_Background->isChecked()) {
        if (ui->checkBoxBkgGradient->isChecked())
            styleParams.insert(PARAM_BG_GRADIENT, gradientOf(ui->comboBoxBkgGradient));
        else
            styleParams.remove(PARAM_BG_GRADIENT);
        styleParams.insert(PARAM_BG_COLOR, ui->widgetBkgColor->color());
        styleParams.insert(PARAM_BG_OPACITY, ui->spinBoxBkgOpacity->value() / 100.0);
        if (ui->checkBoxBkgShadow->isChecked()) {
            styleParams.insert(PARAM_BG_SHADOW_COLOR, ui->widgetBkgShadowColor->color());
            styleParams.insert(PARAM_BG_SHADOW_X, ui->spinBoxBkgShadowX->value());
            styleParams.insert(PARAM_BG_SHADOW_Y, ui->spinBoxBkgShadowY->value());
            styleParams.insert(PARAM_BG_SHADOW_BLUR, ui->spinBoxBkgShadowBlur->value());
            styleParams.insert(PARAM_BG_LONG_SHADOW, ui->checkBoxBkgLongShadow->isChecked());
        } else {
            for (const QString& key :
                 {PARAM_BG_SHADOW_COLOR, PARAM_BG_SHADOW_X, PARAM_BG_SHADOW_Y, PARAM_BG_SHADOW_BLUR, PARAM_BG_LONG_SHADOW})
                styleParams.remove(key);
        }
        if (ui->checkBoxBkgBorder->isChecked()) {
            styleParams.insert(PARAM_BORDER_COLOR, ui->widgetBkgBorderColor->color());
            styleParams.insert(PARAM_BORDER_WIDTH, ui->spinBoxBkgBorderWidth->value());
            styleParams.insert(PARAM_BORDER_RADIUS, ui->spinBoxBkgBorderRadius->value());
        } else {
            for (const QString& key : {PARAM_BORDER_COLOR, PARAM_BORDER_WIDTH, PARAM_BORDER_RADIUS})
                styleParams.remove(key);
        }
        styleParams.insert(PARAM_BG_ANGLE, ui->spinBoxBkgRotate->value());
    } else {
        for (const QString& key :
             {PARAM_BG_GRADIENT, PARAM_BG_COLOR, PARAM_BG_OPACITY, PARAM_BG_SHADOW_COLOR, PARAM_BG_SHADOW_X,
              PARAM_BG_SHADOW_Y, PARAM_BG_SHADOW_BLUR, PARAM_BG_LONG_SHADOW, PARAM_BORDER_COLOR, PARAM_BORDER_WIDTH,
              PARAM_BORDER_RADIUS, PARAM_BG_ANGLE})
            styleParams.remove(key);
    }

    userParamsLess.clear();
    for (auto it = styleParams.cbegin(); it != styleParams.cend(); ++it) {
        if (it.key() == PARAM_GRADIENT || it.key() == PARAM_BG_GRADIENT)
            continue;
        const QVariant& value = it.value();
        const QString text = value.type() == QVariant::Bool ? QLatin1String(value.toBool() ? "true" : "false")
                                                            : value.toString();
        userParamsLess += QStringLiteral("\n@") + it.key() + QStringLiteral(" :") + text + QStringLiteral(";\n");
    }
}

void MainWindow::colorSchemesButtonPush()
{
    const QLabelEx* swatch = qobject_cast<const QLabelEx*>(sender());
    if (!swatch)
        return;
    const QString color = swatch->property("SpecField").toString();
    const QString mainColor = styleParams.value(PARAM_MAIN_COLOR).toString();
    if (mainColor == QLatin1String("stroke"))
        ui->widgetIconStrokeColor->setColor(color);
    else if (mainColor == QLatin1String("icon"))
        ui->widgetIconColor->setColor(color);
    else
        ui->widgetBkgColor->setColor(color);
}

void MainWindow::on_checkBoxIconGradient_stateChanged(int state)
{
    enableWhileChecked({ui->comboBoxIconGradient}, state);
}

void MainWindow::on_checkBoxIconShadow_stateChanged(int state)
{
    enableWhileChecked({ui->widgetIconShadowColor, ui->labelIconShadowXText, ui->labelIconShadowY,
                        ui->labelIconShadowBlurText, ui->spinBoxIconShadowX, ui->spinBoxIconShadowY,
                        ui->spinBoxIconShadowBlur, ui->checkBoxIconLongShadow},
                       state);
}

void MainWindow::on_checkBoxIconStroke_stateChanged(int state)
{
    enableWhileChecked({ui->widgetIconStrokeColor, ui->labelIconStrokeWidthText, ui->spinBoxIconStrokeWidth}, state);
}

void MainWindow::on_checkBoxBkgGradient_stateChanged(int state)
{
    enableWhileChecked({ui->comboBoxBkgGradient}, state);
}

void MainWindow::on_checkBoxBkgShadow_stateChanged(int state)
{
    enableWhileChecked({ui->widgetBkgShadowColor, ui->labelBkgShadowXText, ui->labelBkgShadowY,
                        ui->labelBkgShadowBlurText, ui->spinBoxBkgShadowX, ui->spinBoxBkgShadowY,
                        ui->spinBoxBkgShadowBlur, ui->checkBoxBkgLongShadow},
                       state);
}

void MainWindow::on_checkBoxBkgBorder_stateChanged(int state)
{
    enableWhileChecked({ui->widgetBkgBorderColor, ui->labelBkgBorderRadiusText, ui->labelBkgBorderWidthText,
                        ui->spinBoxBkgBorderRadius, ui->spinBoxBkgBorderWidth},
                       state);
}
