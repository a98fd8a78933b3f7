#pragma once

#include "gui/kit/CChildFrame.h"
#include "gui/kit/CQueuedReceiver.h"
#include "protocol/CReadingReceiver.h"

// Stands in for a measurement screen that is not built yet: it opens, is titled and switched
// like the real one, and ignores every reading.
class CPlaceholderScreenFrame : public CChildFrame {
    Q_OBJECT

public:
    explicit CPlaceholderScreenFrame(ChildKind kind, QWidget* parent = nullptr);

    CReadingReceiver* Receiver() override { return &m_receiver; }

private:
    CReadingReceiver m_ignored;
    CQueuedReceiver m_receiver;
};
