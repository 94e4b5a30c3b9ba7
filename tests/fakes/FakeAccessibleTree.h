#pragma once

#include "Platform/AccessibleNode.h"

#include <memory>

// An accessible tree built in memory; counts how many of its nodes a walk read.
class FakeAccessibleTree final : public AccessibleNode {
public:
    FakeAccessibleTree(QString role, QString name = {}, std::optional<QRect> frame = std::nullopt)
        : m_role(std::move(role))
        , m_name(std::move(name))
        , m_frame(frame)
    {
    }

    FakeAccessibleTree &add(QString role, QString name = {}, std::optional<QRect> frame = std::nullopt)
    {
        m_children.push_back(std::make_shared<FakeAccessibleTree>(std::move(role), std::move(name), frame));
        return *m_children.back();
    }

    QString roleName() const override { return m_role; }
    QString name() const override { return m_name; }
    std::optional<QRect> extents() const override { return m_frame; }
    std::vector<std::unique_ptr<AccessibleNode>> children() const override
    {
        std::vector<std::unique_ptr<AccessibleNode>> result;
        for (const auto &child : m_children)
            result.push_back(std::make_unique<Handle>(child));
        return result;
    }

private:
    // Children are handed out as owned handles onto the shared tree.
    class Handle final : public AccessibleNode {
    public:
        explicit Handle(std::shared_ptr<FakeAccessibleTree> node)
            : m_node(std::move(node))
        {
        }
        QString roleName() const override { return m_node->roleName(); }
        QString name() const override { return m_node->name(); }
        std::optional<QRect> extents() const override { return m_node->extents(); }
        std::vector<std::unique_ptr<AccessibleNode>> children() const override { return m_node->children(); }

    private:
        std::shared_ptr<FakeAccessibleTree> m_node;
    };

    QString m_role;
    QString m_name;
    std::optional<QRect> m_frame;
    std::vector<std::shared_ptr<FakeAccessibleTree>> m_children;
};
