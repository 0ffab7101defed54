#pragma once

/** Which interfaces and versions the stand-in host offers, so that the plug-in can be tried
    against older and poorer hosts. Version 0 means the interface is absent. */
struct HostConfiguration
{
    bool objectFactory = true;
    bool descriptionHost = true;
    bool hostDefinition = true;
    /** The collection also hands back the plug-in definition at registration. */
    bool pluginDefinition = true;
    int hostServicesVersion = 3;
    int effectDescriptorVersion = 2;
    int componentDescriptorVersion = 3;
    int propertyMapVersion = 3;
};
