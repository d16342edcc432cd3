#include "formula/tokennode.h"

#include "core/exceptions.h"

namespace zarno {

TTokenNode::~TTokenNode()
{
    // Chains such as 1+1+1+… make trees as deep as the formula is long;
    // tearing them down without recursion keeps the call stack flat.
    std::vector<std::unique_ptr<TTokenNode>> pending = std::move(fChildren);
    while (!pending.empty()) {
        std::unique_ptr<TTokenNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &c : node->fChildren)
            pending.push_back(std::move(c));
        node->fChildren.clear();
    }
}

TTokenNode *TTokenNode::addChild(TMyToken *token)
{
    auto node = std::make_unique<TTokenNode>(token);
    node->fParent = this;
    fChildren.push_back(std::move(node));
    return fChildren.back().get();
}

TTokenNode *TTokenNode::insertBeforeLastChild(TMyToken *token)
{
    if (fChildren.empty())
        throw ESouteigai(QStringLiteral("TNode<TMyToken>"),
            QStringLiteral("このnodeには子はありません。"),
            QStringLiteral("insertBeforeLastChild"));
    auto node = std::make_unique<TTokenNode>(token);
    node->fParent = this;
    std::unique_ptr<TTokenNode> last = std::move(fChildren.back());
    last->fParent = node.get();
    node->fChildren.push_back(std::move(last));
    fChildren.back() = std::move(node);
    return fChildren.back().get();
}

void TTokenNode::insertBetweenParent(std::unique_ptr<TTokenNode> newNode)
{
    TTokenNode *p = fParent;
    if (p) {
        for (auto &slot : p->fChildren) {
            if (slot.get() == this) {
                std::unique_ptr<TTokenNode> self = std::move(slot);
                newNode->fParent = p;
                self->fParent = newNode.get();
                newNode->fChildren.push_back(std::move(self));
                slot = std::move(newNode);
                return;
            }
        }
    }
    throw ESouteigai(QStringLiteral("TNode<TMyToken>"),
        QStringLiteral("相互リンクが壊れています。"), QStringLiteral("insertBetweenParent"));
}

std::unique_ptr<TTokenNode> TTokenNode::takeChild(int i)
{
    std::unique_ptr<TTokenNode> node = std::move(fChildren[std::size_t(i)]);
    fChildren.erase(fChildren.begin() + i);
    node->fParent = nullptr;
    return node;
}

QString TTokenNode::dump() const
{
    // Iterative as well: a node prints its text, then its children in
    // parentheses, separated by commas.
    struct Frame
    {
        const TTokenNode *node;
        int next;
    };
    QString out;
    std::vector<Frame> stack { { this, -1 } };
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.next < 0) {
            out += f.node->fToken ? f.node->fToken->text() : QStringLiteral("<root>");
            if (!f.node->fChildren.empty())
                out += QLatin1Char('(');
            f.next = 0;
        }
        if (f.next < f.node->childCount()) {
            if (f.next > 0)
                out += QLatin1Char(',');
            const TTokenNode *c = f.node->child(f.next++);
            stack.push_back({ c, -1 });
            continue;
        }
        if (!f.node->fChildren.empty())
            out += QLatin1Char(')');
        stack.pop_back();
    }
    return out;
}

} // namespace zarno
