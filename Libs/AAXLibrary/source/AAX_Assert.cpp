#include "AAX_Assert.h"

#include "AAX_HostServicesInstance.h"

void AAX_ReportAssertion (const AAX_AssertionSite& site) noexcept
{
    if (AAX_IHostServices* const services = AAX_HostServicesInstance::Get())
        services->ReportAssertion (site.file, site.line, site.expression, 1);
}
