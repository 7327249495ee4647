#include "CReferenceCounter.h"

namespace gui {

namespace {
// GUI thread only, like everything counted here.
int live = 0;
}  // namespace

CReferenceCounter::CReferenceCounter() { ++live; }
CReferenceCounter::~CReferenceCounter() { --live; }

void CReferenceCounter::forget() {
    if (--nbReference == 0) delete this;
}

void CReferenceCounter::remember() { ++nbReference; }

int CReferenceCounter::liveObjects() { return live; }

}  // namespace gui
