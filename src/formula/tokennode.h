#pragma once

#include "formula/calctoken.h"

#include <memory>
#include <vector>

namespace zarno {

// A node of a formula's token tree. It owns its children and points at a
// token it does not own (the parser's token list and extra tokens own them).
class TTokenNode
{
public:
    explicit TTokenNode(TMyToken *token = nullptr)
        : fToken(token)
    { }
    ~TTokenNode();
    TTokenNode(const TTokenNode &) = delete;
    TTokenNode &operator=(const TTokenNode &) = delete;

    TMyToken *token() const { return fToken; }
    void setToken(TMyToken *token) { fToken = token; }
    TTokenNode *parent() const { return fParent; }

    int childCount() const { return int(fChildren.size()); }
    TTokenNode *child(int i) const { return fChildren[std::size_t(i)].get(); }
    TTokenNode *firstChild() const { return fChildren.empty() ? nullptr : fChildren.front().get(); }
    TTokenNode *lastChild() const { return fChildren.empty() ? nullptr : fChildren.back().get(); }

    TTokenNode *addChild(TMyToken *token);
    // A node holding token takes the place of the last child, which becomes
    // its only child: how a two-operand operator takes the operand parsed so far.
    TTokenNode *insertBeforeLastChild(TMyToken *token);
    // newNode takes this node's place in its parent; this node becomes its child.
    void insertBetweenParent(std::unique_ptr<TTokenNode> newNode);
    // Detaches child i and hands it over.
    std::unique_ptr<TTokenNode> takeChild(int i);

    // Set while the typeset text of an invalid token is produced.
    int errorMark() const { return fErrorMark; }
    void setErrorMark(int mark) { fErrorMark = mark; }

    // The tree in prefix form for diagnostics and tests: "+(x,%(2,y))".
    QString dump() const;

private:
    TMyToken *fToken;
    TTokenNode *fParent = nullptr;
    std::vector<std::unique_ptr<TTokenNode>> fChildren;
    int fErrorMark = 0;
};

} // namespace zarno
