#pragma once

#include <QAbstractItemModelTester>

#include <memory>

// QAbstractItemModelTester in Warning mode, with every warning it reports
// turned into a test failure.
class ModelTester
{
public:
    explicit ModelTester(QAbstractItemModel* model);
    ~ModelTester();
    ModelTester(const ModelTester&) = delete;
    ModelTester& operator=(const ModelTester&) = delete;

private:
    QtMessageHandler m_previous;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};
