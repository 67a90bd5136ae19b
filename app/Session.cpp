#include "app/Session.h"

Session::Session(IUserPrompts& prompts)
    : harvester(prompts, identifiers, traceLog), projects(prompts, harvester, traceLog),
      opening(prompts, settings, identifiers, traceLog, harvester, projects), tables(prompts, settings),
      document(prompts, settings, identifiers), html(prompts, settings, identifiers, harvester.report())
{
    harvester.setTableComments(&tables);
    traceLog.addLine(u"Memo1"); // each hidden memo shows its name until it is filled
}

void Session::clearForNew()
{
    identifiers.clear();
    document.clear();
}
