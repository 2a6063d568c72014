#pragma once

#include <QLabel>

namespace velt {

// The roulette's sentence. A label offers screen readers its name only;
// this one offers its text too (ui/accessible_interfaces.cpp), so that the
// sentence can be read by word or by character.
class SentenceLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;
};

} // namespace velt
