#pragma once
// The program's document. Every table, folder and setting belongs to the form, which lives as long as the
// frame; no command opens or saves a document file, so the document has nothing to hold.
class CVRD2EditDoc {
public:
    CVRD2EditDoc() = default;
};
