// Shared ownership by counting: views, bitmaps, draw contexts and drag
// containers start with one reference held by their creator.
#pragma once

namespace gui {

class CReferenceCounter {
public:
    CReferenceCounter();
    virtual ~CReferenceCounter();
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;

    // Drops one reference; the last one destroys the object.
    virtual void forget();
    virtual void remember();

    int getNbReference() const { return nbReference; }

    // Counted objects alive in this process, for leak checks.
    static int liveObjects();

private:
    int nbReference = 1;
};

}  // namespace gui
