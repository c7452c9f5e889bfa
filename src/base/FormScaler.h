#pragma once

#include <QList>
#include <QPointer>
#include <QRectF>
#include <QWidget>

// Lays a screen out from its design: every control has a design rectangle in twips and a design font size
// in points, for a window of 7650 x 5640 twips. On every resize the controls are placed at their design
// geometry times the window's factors (inner width / design width, inner height / design height), and their
// fonts at the design size times the vertical factor, rounded half to even. Scaling always starts from the
// design values, so repeated resizes never compound. The scaler belongs to its form and goes with it.
class FormScaler : public QObject
{
public:
    static constexpr double TwipsPerPixel = 15.0; // 96 dots per inch
    explicit FormScaler(QWidget *form, double designWidth = 7650, double designHeight = 5640);

    // Registers a control at its design rectangle (twips); fontPoints 0 keeps the control's font.
    void place(QWidget *control, double left, double top, double width, double height, double fontPoints = 0);
    // Places every registered control for the form's current inner size.
    void apply();
    double horizontalFactor() const;
    double verticalFactor() const;
    // The form's size in pixels at its design size.
    QSize designSize() const;

private:
    struct Design { QPointer<QWidget> control; QRectF twips; double fontPoints; };
    QWidget *m_form;
    double m_designWidth;
    double m_designHeight;
    QList<Design> m_controls;
};
