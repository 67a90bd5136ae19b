#include "tests/support/ModelTester.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void failOnModelWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
        std::strcmp(context.category, "qt.modeltest") == 0)
        ADD_FAILURE() << "model tester: " << message.toStdString();
}

} // namespace

ModelTester::ModelTester(QAbstractItemModel* model) : m_previous(qInstallMessageHandler(failOnModelWarning))
{
    m_tester = std::make_unique<QAbstractItemModelTester>(
        model, QAbstractItemModelTester::FailureReportingMode::Warning);
}

ModelTester::~ModelTester()
{
    m_tester.reset();
    qInstallMessageHandler(m_previous);
}
