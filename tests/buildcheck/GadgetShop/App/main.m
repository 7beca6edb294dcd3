#import "../Model/Gadget+Owner.h"
#import "../Model/Tracker.h"

static void say(NSString *line) {
    printf("%s\n", [line UTF8String]);
}

int main(int argc, char **argv) {
    NSAutoreleasePool *pool = [NSAutoreleasePool new];
    Class made = NSClassFromString(@"SmartGadget");
    Gadget *gadget = [made gadgetLabelled:@"blue"];
    say([gadget describeWith:@"x"]);
    say([NSString stringWithFormat:@"is a gadget: %d", (int)[gadget isKindOfClass:[Gadget class]]]);
    if ([NSStringFromClass([gadget class]) isEqualToString:@"SmartGadget"]) {
        say(@"named as looked up");
    }
    GadgetKeeper *keeper = [GadgetKeeper new];
    say([NSString stringWithFormat:@"conforms: %d %d",
                                   (int)[keeper conformsToProtocol:@protocol(GadgetOwner)],
                                   (int)[keeper
                                       conformsToProtocol:NSProtocolFromString(@"GadgetOwner")]]);
    say([gadget ownedBy:keeper]);
    NSLog(@"%@ ready", @"Gadget");
    Tracker *tracker = [Tracker new];
    [tracker startWatching];
    tracker.trackedLabel = @"first";
    [tracker relabel:@"second"];
    tracker.active = YES;
    say([NSString stringWithFormat:@"tracked: %@, %d changes (%@ by key), active %d",
                                   tracker.trackedLabel, tracker.changes,
                                   [tracker valueForKey:@"changes"], (int)[tracker isActive]]);
    [tracker stopWatching];
    say([gadget trackedBy:tracker]);
    // The archive is written once, by whichever build runs first, and read by every build.
    NSString *archive = [NSString stringWithUTF8String:argv[argc - 1]];
    if (![[NSFileManager defaultManager] fileExistsAtPath:archive]) {
        Keepsake *keepsake = [Keepsake new];
        [keepsake setMemo:@"saved before"];
        [NSArchiver archiveRootObject:keepsake toFile:archive];
    }
    Keepsake *back = [NSUnarchiver unarchiveObjectWithFile:archive];
    say([NSString stringWithFormat:@"archive: %@", back ? [back memo] : @"unreadable"]);
    [pool release];
    return 0;
}
