// English texts of every string id, sorted by id, one line each.
//
// Bands: 1-21 common buttons and words, 1001-1174 main window, start-up and
// device states, 2001-2070 SMS, 3001-3160 settings pages, 4001-4081
// phonebook, 5001-5048 calls, 6001-6050 data connection and its log,
// 7001-7022 call records, 8001-8023 SIM toolkit, 9001-9013 USSD.
//
// Conventions the callers rely on:
// - A text that ends in a space (or starts with one) is joined with a value
//   by the caller: "Sent: " + "12.50" + " KB", a number + " attempts left".
// - A text with %1, %2, %3 is filled in with QString::arg by the caller:
//   GetString(4009).arg(rows).
// - Short captions stay short: they sit on buttons, labels and menu items.
#include "language/language.h"

extern const LanguageText kLanguageTexts[] = {
    {1, "Succeeded"},  // count label: operations that went through
    {2, "Failed"},  // count label of failures; also a device command that failed
    {3, "Close"},  // common button
    {4, "Unknown error"},  // reason of a failure that has no text of its own
    {5, "Save"},  // common button
    {6, "OK"},  // common button: OK
    {7, "Cancel"},  // common button: Cancel
    {8, "Delete"},  // common button
    {9, "Edit"},  // common button
    {10, "Apply"},  // settings pages: Apply button
    {11, "No data card found. Please insert the data card."},  // call refused: no card
    {12, "The SIM card is not available. Only emergency calls can be made."},  // call refused: SIM unavailable
    {13, "Yes"},  // question box: first button
    {14, "No"},  // question box: second button
    {15, "Retry"},  // common button
    {16, "Back"},  // toolkit back button; second button of a confirmation
    {17, "The user name and password window could not be opened."},  // credentials prompt not created
    {21, "IMEI:"},  // about box: IMEI caption
    {1001, "Linkora"},  // product name, main window caption
    {1002, "Home"},  // toolbar hint: home page
    {1003, "Internet Connection"},  // toolbar hint and title of the data connection page
    {1004, "Calls"},  // toolbar hint and title of the call window
    {1005, "Messages"},  // toolbar hint: SMS
    {1006, "Phonebook"},  // toolbar hint: phonebook
    {1007, "Settings"},  // toolbar hint: settings
    {1008, "Call History"},  // toolbar hint: call records
    {1009, "Help"},  // toolbar hint and tray menu: help
    {1010, "Welcome to Linkora"},  // main window welcome line
    {1011, "Exit"},  // tray menu: exit
    {1012, "New message"},  // new-SMS icon hint, tray hint, notice title
    {1013, "Incoming call"},  // tray hint while ringing, call notice title
    {1018, "Could not read the settings file "},  // file unreadable; the file name follows
    {1022, "Power Off"},  // tray menu: power off the card
    {1025, "The PIN is incorrect. Please try again."},  // wrong PIN at start-up
    {1026, "The PUK is incorrect. Please try again."},  // wrong PUK at start-up
    {1027, "Please enter the PIN."},  // PIN empty
    {1028, "Please enter the PUK."},  // PUK empty
    {1029, "The two PINs do not match."},  // new PIN and confirmation differ
    {1032, "A call is in progress. Please end the call first."},  // refusal: call in progress
    {1034, "The PIN has been blocked after too many wrong attempts. Please enter the PUK."},  // PIN blocked after wrong PIN
    {1035, "Enter a new PIN:"},  // new-PIN prompt
    {1036, "Confirm the new PIN:"},  // new-PIN confirmation prompt
    {1038, "Enter the PIN:"},  // PIN prompt
    {1040, "Enter the PUK:"},  // PUK prompt
    {1042, "Do you want to exit Linkora?"},  // exit confirmation
    {1046, "Sent: "},  // tray summary: sent
    {1047, "Received: "},  // tray summary: received
    {1048, "Time: "},  // tray summary: duration
    {1050, "Mobile broadband connection manager"},  // splash: product line
    {1051, "Missed call"},  // missed-call icon hint, tray hint
    {1052, "A data connection is active. Please disconnect first."},  // refusal: data connection not idle
    {1053, "About"},  // tray menu: about box
    {1054, "The PUK has been blocked after too many wrong attempts. The SIM card can no longer be used; please contact your service provider."},  // PUK blocked
    {1057, "SIM card not available"},  // SIM icon and tray hint: SIM unavailable
    {1063, "Connected to the Internet"},  // connection picture hint: connected
    {1064, "Linkora Notice"},  // notice window caption
    {1065, "PC software version:"},  // version caption
    {1066, "Card software version:"},  // card software version caption
    {1067, "Hardware version:"},  // hardware version caption
    {1068, "1.0.1"},  // PC software version
    {1069, "Starting, please wait..."},  // splash: start-up line
    {1070, "Signal strength"},  // signal bars hint
    {1071, "SIM card inserted, network available"},  // SIM icon hint: network up
    {1072, "Not connected"},  // connection picture hint: not connected
    {1073, "Service domain (C: circuit switched, P: packet switched)"},  // domain label hint
    {1074, "Network type"},  // network type hint
    {1075, "Network operator"},  // operator name hint
    {1077, "China Mobile"},  // operator name shown for "China Mobile"
    {1078, "China Unicom"},  // operator name shown for "China Unicom"
    {1082, "There is no network service. Please try again when the network is available."},  // connect refused: no service
    {1086, "Roaming"},  // roaming label hint
    {1087, "1.0.1 build 1"},  // PC software internal version
    {1088, "PC software internal version:"},  // internal version caption
    {1089, "Card software internal version:"},  // card internal version caption
    {1090, "An outgoing call is being set up. Please wait until it has finished."},  // PIN entry refused while dialling
    {1093, "SIM card locked"},  // SIM icon hint: SIM locked
    {1095, "SIM card ready"},  // SIM icon hint: ready
    {1096, "Go Offline"},  // tray menu: offline
    {1097, "Go Online"},  // tray menu: online
    {1098, "Messages or contacts are being processed. Please wait until this has finished."},  // refusal: long SMS or phonebook operation
    {1099, "USSD and SIM Toolkit"},  // toolbar hint: USSD/STK
    {1100, "The PIN must have 4 to 8 digits."},  // PIN too short
    {1101, "The PUK must have 4 to 8 digits."},  // PUK too short
    {1102, "The data card has been switched off."},  // power off done
    {1103, "The data card could not be switched off."},  // power off failed
    {1104, "A USSD session is open. Please end it first."},  // refusal: USSD exchange open
    {1154, "The data card is locked to another network and cannot be used with this SIM card."},  // network lock refused
    {1158, "The data card has been unlocked."},  // network unlock done
    {1159, "Please enter the unlock code."},  // unlock code empty
    {1160, "The unlock code must have 16 characters."},  // unlock code too short
    {1161, "The unlock code was refused too many times. The data card is now locked permanently."},  // card locked for good
    {1162, "Restore Factory Settings"},  // tray menu: factory settings
    {1163, "No data card found"},  // card hint and tray hint: no card
    {1164, "Data card found, starting up"},  // card hint and tray hint: card found
    {1165, "Data card offline"},  // card hint and tray hint: offline
    {1166, "Checking the data card"},  // tray hint: mode check
    {1167, "Data card online"},  // card hint and tray hint: online
    {1168, "PIN required"},  // tray hint: PIN required
    {1169, "PUK required"},  // tray hint: PUK required
    {1170, "Data card not ready"},  // tray hint: not ready
    {1171, "Network ready"},  // tray hint: network up with signal
    {1172, "Internet connection active"},  // tray hint: connected
    {1173, "No network signal"},  // tray hint: network up without signal
    {1174, " attempt(s) left"},  // follows the number of attempts left
    {2001, "Inbox"},  // SMS box button and list caption: inbox
    {2002, "Sent"},  // SMS box button and list caption: sent box
    {2003, "Drafts"},  // SMS box button and list caption: drafts
    {2004, "New Message"},  // write button and editor caption
    {2005, "Open"},  // SMS list: read the message
    {2006, "Reply"},  // SMS: reply
    {2007, "Forward"},  // SMS: forward
    {2008, "Save"},  // SMS editor: save as draft
    {2009, "Move"},  // SMS: move to the other store
    {2010, "Delete"},  // SMS: delete
    {2011, "Save Number"},  // SMS: save the number to the phonebook
    {2012, "Cancel"},  // SMS and USSD: cancel or close
    {2013, "Send"},  // SMS and USSD: send
    {2014, "Number"},  // SMS list column: number
    {2015, "Name"},  // SMS list column: name
    {2017, "To:"},  // SMS editor: recipient label
    {2019, "Read Message"},  // SMS reader caption
    {2020, "Inbox (PC)"},  // SMS counts: inbox on the PC
    {2021, "Sent (PC)"},  // SMS counts: sent box on the PC
    {2022, "Drafts (PC)"},  // SMS counts: drafts on the PC
    {2023, "SIM"},  // SMS counts: same box on the SIM
    {2024, "sent"},  // SMS progress: sent to a recipient
    {2026, "Please select a message first."},  // SMS: nothing selected
    {2027, "Delete the selected messages?"},  // SMS: delete question
    {2028, "Move the selected messages to the other store?"},  // SMS: move question
    {2029, "Please select only one message to open."},  // SMS: several selected for reading
    {2030, "Please select only one message to reply to."},  // SMS: several selected for reply
    {2031, "Please select only one message to forward."},  // SMS: several selected for forward
    {2032, "Please select only one message to save its number."},  // SMS: several selected for save number
    {2034, "Please enter at least one recipient."},  // SMS: no recipient
    {2036, "The SIM message store is full."},  // SMS: SIM store full
    {2037, "There is not enough room on the SIM card for all parts of this message."},  // SMS: SIM full for a long message
    {2038, "Too many recipients. Maximum"},  // SMS: too many recipients; ": 200" follows
    {2039, "Do you want to send "},  // SMS: send question; count and "SMS(s)?" follow
    {2040, "The recipient list is not valid."},  // SMS: recipients cannot be read
    {2041, " invalid number"},  // SMS: follows an invalid number
    {2043, "The text is too long and has been cut to the maximum length."},  // SMS and USSD: text cut
    {2045, "PC"},  // SMS store choice: PC
    {2046, "SIM card"},  // SMS store choice: SIM
    {2047, "Messages to delete"},  // SMS delete summary: total
    {2048, "Messages to move"},  // SMS move summary: total
    {2049, "messages"},  // SMS capacity unit
    {2051, "The message is empty. Do you want to send it anyway?"},  // SMS: empty message question
    {2052, "SIM capacity"},  // SMS: SIM capacity label
    {2054, "Message delivered to "},  // delivery report: delivered; number and time follow
    {2055, "Message not delivered to "},  // delivery report: failed; number and time follow
    {2056, "The message has reached its maximum length."},  // SMS editor: at the limit
    {2057, "Sending..."},  // SMS progress: sending
    {2058, "Moving messages, please wait..."},  // SMS progress: moving
    {2059, "Deleting messages, please wait..."},  // SMS progress: deleting
    {2060, "Status"},  // SMS list column: status
    {2061, "Characters/messages: "},  // SMS editor counter; length and parts follow
    {2063, "There is not enough room in the PC message store."},  // SMS: PC store full for a copy or long message
    {2064, "Could not save the message"},  // SMS: copy not stored; the reason follows
    {2065, "sending failed"},  // SMS progress: send failed for a recipient
    {2066, "To"},  // SMS progress: recipient prefix
    {2067, "Messages to send"},  // SMS send summary: total
    {2068, "The PC message store is full."},  // SMS: PC store full
    {2069, "The SIM and PC message stores are full."},  // SMS: both stores full
    {2070, "PC capacity"},  // SMS: PC capacity label
    {3001, "Search"},  // operator dialog: search again
    {3002, "Select"},  // operator dialog and toolkit: select
    {3003, "Cancel"},  // operator dialog: cancel
    {3004, "Select Network"},  // operator dialog caption
    {3005, "State"},  // operator list header: state
    {3006, "Operator"},  // operator list header: name
    {3007, "Searching for networks, please wait..."},  // operator search wait text
    {3008, "Registering with the network, please wait..."},  // operator choice wait text
    {3009, "Unknown"},  // operator state 0
    {3010, "Available"},  // operator state 1
    {3011, "Current"},  // operator state 2
    {3012, "Forbidden"},  // operator state 3
    {3013, "Registered with the selected network."},  // operator choice accepted
    {3014, "Could not register with the selected network."},  // operator choice refused
    {3015, "This network is forbidden. Please choose another one."},  // forbidden operator chosen
    {3016, "The state of this network is unknown. Please choose another one."},  // unknown operator chosen
    {3017, "Restore the factory settings? Your own settings will be replaced."},  // factory settings question
    {3018, "The settings could not be saved."},  // settings file not written
    {3019, "Security Settings"},  // security page caption and menu button
    {3020, "Network Settings"},  // network page caption and menu button
    {3021, "SMS Settings"},  // SMS page caption and menu button
    {3022, "Sound Settings"},  // sound page caption and menu button
    {3023, "Restore Factory Settings"},  // settings menu: factory settings button
    {3024, "SMS centre number:"},  // SMS settings: centre label
    {3025, "Validity period:"},  // SMS settings: validity label
    {3026, "Delivery report"},  // SMS settings: report group
    {3027, "12 hours"},  // validity item 0
    {3028, "1 day"},  // validity item 1
    {3029, "1 week"},  // validity item 2
    {3030, "Maximum"},  // validity item 3
    {3031, "On"},  // delivery report requested
    {3032, "Off"},  // delivery report not requested
    {3033, "The settings have been saved."},  // settings applied
    {3034, "Profiles used to connect to the Internet"},  // profile page heading
    {3035, "Profiles:"},  // profile list label
    {3036, "Default profile:"},  // default profile label
    {3037, "Add"},  // profile page: add
    {3038, "Edit"},  // profile page: edit
    {3039, "Delete"},  // profile page: delete
    {3040, "Set as Default"},  // profile page: make default
    {3041, "Network selection"},  // network page: way group
    {3042, "Automatic"},  // network selection: automatic
    {3043, "Manual"},  // network selection: manual
    {3044, "Automatic mode"},  // network page: automatic mode group
    {3047, "3G only"},  // automatic mode 1
    {3048, "2G only"},  // automatic mode 2
    {3049, "Please select a profile first."},  // profile page: nothing selected
    {3050, "The connection profiles could not be read or saved."},  // config.ran unreadable, damaged or not written
    {3051, "The default connection profile could not be read or saved."},  // defaultcfg.ran cannot be opened
    {3052, "The default profile cannot be deleted."},  // delete of the default profile
    {3054, "Connection Profile"},  // profile dialog heading
    {3055, "Profile name:"},  // profile dialog: name
    {3056, "Number:"},  // profile dialog: number to dial
    {3057, "User name:"},  // profile dialog and prompt: user name
    {3058, "Password:"},  // profile dialog and prompt: password
    {3059, "Please enter a profile name."},  // profile name empty
    {3060, "A profile with this name already exists."},  // profile name taken
    {3061, "Automatic APN"},  // profile dialog: APN automatic
    {3062, "Manual APN"},  // profile dialog: APN manual
    {3063, "Automatic DNS"},  // profile dialog: DNS automatic
    {3064, "Manual DNS"},  // profile dialog: DNS manual
    {3065, "Automatic PDP address"},  // profile dialog: PDP address automatic
    {3066, "Manual PDP address"},  // profile dialog: PDP address manual
    {3067, "PDP type:"},  // profile dialog: PDP type
    {3068, "APN:"},  // profile dialog: APN
    {3069, "Primary DNS:"},  // profile dialog: primary DNS
    {3070, "Secondary DNS:"},  // profile dialog: alternate DNS
    {3071, "PDP address:"},  // profile dialog: PDP address
    {3072, "IP"},  // PDP type IP
    {3073, "PPP"},  // PDP type PPP
    {3074, "Data connected:"},  // sound row: connected
    {3075, "Data disconnected:"},  // sound row: disconnected
    {3076, "New message:"},  // sound row: new SMS
    {3077, "Incoming call:"},  // sound row: incoming call
    {3078, "Mute"},  // sound page: mute box
    {3079, "Browse..."},  // sound page: browse button
    {3080, "Enable PIN protection"},  // security page: PIN check box
    {3081, "Back up or restore the phonebook, messages and call records kept on this computer."},  // security page: backup label
    {3082, "Prevent standby while Linkora is running"},  // security page: deny standby
    {3083, "Change PIN"},  // security page: change PIN
    {3084, "Restore"},  // security page: restore
    {3085, "Back Up"},  // security page: backup
    {3087, "The PIN was not entered. PIN protection has not been switched on."},  // enable PIN cancelled
    {3088, "Enter the current PIN:"},  // security: current PIN prompt
    {3089, "The PIN was not entered. The PIN has not been changed."},  // change PIN cancelled
    {3090, "Enter a new PIN:"},  // security: new PIN prompt
    {3091, "Confirm the new PIN:"},  // security: confirmation prompt
    {3092, "The two PINs do not match. Please enter them again."},  // security: new PINs differ
    {3094, "No new PIN was entered. The operation has been cancelled."},  // security: new PIN cancelled
    {3096, "The PIN was not entered. PIN protection has not been switched off."},  // disable PIN cancelled
    {3097, "Enter the PUK:"},  // security: PUK prompt
    {3098, "The PUK was not entered. PIN protection has not been changed."},  // security: PUK cancelled
    {3100, "The PIN is incorrect."},  // security: wrong PIN
    {3101, "The network setting could not be changed."},  // network page: device call failed
    {3102, "The PIN has been changed."},  // security: PIN changed
    {3103, "The operation failed."},  // security: general failure
    {3104, "The SIM card has been unblocked and the new PIN set."},  // security: unblocked
    {3105, "The PUK is incorrect."},  // security: wrong PUK
    {3108, "Restore all settings to their factory values"},  // factory settings button hint
    {3110, "Network code"},  // operator list header: numeric identity
    {3111, "Please enter the APN."},  // profile: manual APN empty
    {3112, "Please enter at least one DNS server address."},  // profile: manual DNS empty
    {3113, "Please enter the PDP address."},  // profile: manual PDP address empty
    {3114, "The backup has been saved."},  // backup done
    {3115, "The backup could not be saved."},  // backup failed
    {3116, "The data has been restored."},  // restore done
    {3117, "The data could not be restored."},  // restore failed
    {3118, "PIN protection is switched off. Switch it on before changing the PIN."},  // change PIN with check off
    {3119, "Network type"},  // operator list header: type
    {3121, "SIM card"},  // SMS storage location 1
    {3122, "Data card"},  // SMS storage location 2
    {3123, "Save received messages to:"},  // SMS settings: storage label
    {3124, "The file already exists. Do you want to replace it?"},  // backup overwrite question
    {3125, "Authentication:"},  // profile dialog: authentication
    {3126, "Ask for user name and password when connecting"},  // profile dialog: ask flag
    {3127, "Save user name and password"},  // profile dialog: save flag
    {3145, "The SMS centre number could not be set."},  // SMS settings: centre refused
    {3146, "The storage location could not be set."},  // SMS settings: location refused
    {3153, "Please select a network first."},  // operator dialog: nothing selected
    {3154, "Automatic (2G/3G)"},  // automatic mode 0
    {3155, "Connection Profiles"},  // profile page caption and menu button
    {3156, "View"},  // profile page: edit button for built-in profiles
    {3157, "Standard band"},  // band 0
    {3158, "Alternative band"},  // band 1
    {3159, "Band"},  // network page: band group
    {3160, "Delete the selected profile?"},  // profile delete question
    {4001, "PC"},  // phonebook name: PC
    {4002, "Data card"},  // phonebook name: card memory
    {4003, "SIM"},  // phonebook name: SIM
    {4005, "Copying contacts, please wait..."},  // phonebook progress: copy
    {4006, "Deleting contacts, please wait..."},  // phonebook progress: delete
    {4007, "Insert a data card to use the SIM phonebook."},  // phonebook tree hint: no card
    {4008, "Drag contacts onto a phonebook or group to copy them."},  // phonebook tree hint: card ready
    {4009, "%1 contact(s)"},  // phonebook status: row count
    {4010, "%1 contact(s) copied."},  // phonebook status: copy done
    {4011, "Delete the selected contacts?"},  // phonebook delete question
    {4013, "New"},  // phonebook: new contact
    {4014, "Edit"},  // phonebook: edit contact
    {4015, "Delete"},  // phonebook: delete contact
    {4016, "Save as Text"},  // phonebook: save as text file
    {4019, "Name"},  // phonebook column: name
    {4020, "Mobile"},  // phonebook: mobile number
    {4021, "Home"},  // phonebook: home number
    {4023, "Group:"},  // phonebook details: group label
    {4024, "Note:"},  // phonebook details: note label
    {4026, "Copy"},  // phonebook menu: copy
    {4027, "Cut"},  // phonebook menu: cut
    {4028, "Paste"},  // phonebook menu: paste
    {4029, "Export Contacts..."},  // phonebook menu: export
    {4030, "Import Contacts..."},  // phonebook menu: import
    {4031, "Select All"},  // phonebook menu: select all
    {4032, "New Message"},  // phonebook: SMS to contacts
    {4036, "Phone 1"},  // phonebook: phone 1
    {4040, "Select Recipients"},  // recipient chooser caption
    {4041, "Contacts:"},  // recipient chooser: left list
    {4042, "Recipients:"},  // recipient chooser: right list
    {4043, "OK"},  // recipient chooser: OK
    {4044, "Cancel"},  // recipient chooser: Cancel
    {4045, "Edit Contact"},  // contact form caption: edit
    {4046, "The contact could not be added."},  // contact add failed
    {4047, "The contact could not be changed."},  // contact change failed
    {4048, "Please enter a name and a mobile number."},  // contact name or number missing
    {4049, "The phonebook is full: %1"},  // phonebook full; %1 the phonebook name
    {4053, "%1: %2/%3"},  // phonebook counts: name, contacts, capacity
    {4062, "Rename Group"},  // phonebook menu: rename group
    {4063, "New Group"},  // phonebook menu: new group
    {4064, "Delete Group"},  // phonebook menu: delete group
    {4065, "Dial"},  // phonebook: dial
    {4066, "Search"},  // phonebook: search
    {4067, "Unselect All"},  // phonebook menu: unselect all
    {4068, "View"},  // phonebook: view contact
    {4069, "Text files (*.txt)"},  // phonebook save dialog filter
    {4070, "New Contact"},  // phonebook popup: new contact
    {4071, "New Group"},  // phonebook popup: new group
    {4072, "Delete the group \"%1\" and all of its contacts?"},  // group delete question; %1 the group name
    {4073, "A phonebook cannot be deleted. Please select a group."},  // delete of a root node
    {4074, "New Contact"},  // contact form caption: new
    {4076, "A group with this name already exists."},  // group name taken
    {4077, "No more groups can be created in this phonebook (%1)."},  // group table full; %1 the phonebook name
    {4078, "Moving contacts, please wait..."},  // phonebook progress: move
    {4079, "Please enter a group name."},  // group name empty
    {4080, "%1 contact(s) moved."},  // phonebook status: move done
    {4081, "A SIM contact keeps fewer details than a PC contact. Contacts with several numbers will be split into one SIM contact per number. Continue?"},  // copy to SIM question
    {5001, "Call duration: "},  // call time label; the duration follows
    {5002, "The number contains an invalid character. Use only digits, +, *, #, P and W."},  // dial: invalid character
    {5003, "Call ended"},  // call state: ended
    {5004, "Calling..."},  // call state: dialling
    {5005, "Emergency call..."},  // call state: dialling an emergency number
    {5006, "In call"},  // call state: active
    {5007, "Incoming call"},  // call state: ringing
    {5008, "The call could not be made."},  // dial or abort failed
    {5009, "The call could not be answered."},  // answer refused
    {5010, "The calls could not be ended."},  // hang-up failed
    {5011, "The earphone volume could not be set."},  // earphone level failed
    {5012, "The microphone volume could not be set."},  // microphone level failed
    {5013, "No earphone is plugged in. Plug in an earphone to hear the call."},  // no earphone notice
    {5014, "The number cannot be longer than 32 characters."},  // number at its maximum length
    {5015, "Unknown"},  // caller without number
    {5018, "A call is already in progress."},  // dial while a call exists
    {5021, "Call waiting"},  // call state: waiting call
    {5022, "On hold"},  // call state: held
    {5023, "Conference call"},  // call state and option: conference
    {5024, "Hold the active call and answer the waiting call"},  // call option: code 2 with a waiting call
    {5025, "Join the calls into a conference"},  // call confirmation: code 3
    {5026, "No more calls can be added."},  // no free call slot
    {5027, "Conference party"},  // member list hint; number and party follow
    {5029, "Resume the held call"},  // call option: code 2 with a held call
    {5030, "End all calls"},  // call option: hang up all
    {5031, "Reject the waiting call"},  // call option: code 0 with a waiting call
    {5032, "End the active call"},  // call option: release the active call
    {5034, "End the held call"},  // call option: release the held call
    {5035, "End the call with party 1"},  // call option: release member 1
    {5036, "End the call with party 2"},  // call option: release member 2
    {5037, "End party 1 of the held conference"},  // call option: release held member 1
    {5038, "End party 2 of the held conference"},  // call option: release held member 2
    {5039, "Hold the call"},  // call option: hold
    {5040, "End the active call and answer the waiting call"},  // call option: code 1 with a waiting call
    {5041, "End all held calls"},  // call option: code 0 with a held call
    {5042, "End the active call and resume the held call"},  // call option: code 1 with a held call
    {5043, "Private call with party 1"},  // call option: split member 1
    {5044, "Private call with party 2"},  // call option: split member 2
    {5045, "Hold the conference"},  // call option: hold the conference
    {5046, "Hold the conference and answer the waiting call"},  // call option: code 2 in a conference with a waiting call
    {5048, "On hold: "},  // held party label; the party follows
    {6001, "h "},  // duration: hours unit
    {6002, "m "},  // duration: minutes unit
    {6003, "s"},  // duration: seconds unit
    {6004, " KB"},  // kilobytes unit
    {6005, "Duration: "},  // connection time label
    {6007, "Connecting"},  // dialling hint; " to " and the profile follow
    {6008, "Disconnecting..."},  // disconnecting hint
    {6009, "Cancelling..."},  // cancelling hint
    {6010, "Connect to "},  // idle hint; the profile name and "?" follow
    {6011, "The modem of the data card was not found. Please check that the card is inserted and its driver is installed."},  // no modem device
    {6012, "Status: "},  // connection status label
    {6013, "Connected"},  // connection status: connected
    {6014, "Not connected"},  // connection status: idle
    {6015, "The connection failed with error "},  // dial-up error without a text; the code follows
    {6016, "Connect"},  // connect button
    {6017, "Disconnect"},  // disconnect button
    {6018, "Cancel"},  // cancel dialling button
    {6019, "Data Connection"},  // data connection page heading
    {6020, "Sent: "},  // statistics: sent
    {6021, "Received: "},  // statistics: received
    {6022, " kbit/s"},  // rate unit
    {6023, "Upload speed: "},  // statistics: send rate
    {6024, "Download speed: "},  // statistics: receive rate
    {6026, "The primary DNS address is not valid."},  // invalid primary DNS
    {6027, "The secondary DNS address is not valid."},  // invalid alternate DNS
    {6028, "The profile name is too long."},  // profile name too long for dialling
    {6029, "The number to dial is too long."},  // number too long
    {6030, "The user name is too long."},  // user name too long
    {6031, "The password is too long."},  // password too long
    {6032, "The modem device type is too long."},  // device type too long
    {6033, "The modem device name is too long."},  // device name too long
    {6034, "Save user name and password"},  // credentials prompt: save box
    {6035, "Connection Log"},  // connection log title
    {6036, "Start Time"},  // log column: start time
    {6037, "End Time"},  // log column: end time
    {6038, "Duration"},  // log column: duration
    {6039, "User name"},  // log column: user name
    {6040, "Received (KB)"},  // log column: received
    {6041, "Sent (KB)"},  // log column: sent
    {6042, "Total data (KB):"},  // log total data label
    {6043, "Delete"},  // log: delete button
    {6044, "Back"},  // log: return button
    {6045, "Total time:"},  // log total time label
    {6046, "Delete the selected log entries?"},  // log delete question
    {6048, "Clear the whole connection log?"},  // log clear question
    {6049, "Totals of the last two months"},  // log totals hint
    {6050, "Connection log"},  // data page: link to the log
    {7001, "Missed"},  // call records: missed list
    {7002, "Received"},  // call records: received list
    {7003, "Dialled"},  // call records: dialled list
    {7004, "Call Back"},  // call records: call back
    {7005, "Send SMS"},  // call records: SMS
    {7006, "Save Number"},  // call records: save number
    {7007, "Delete"},  // call records: delete
    {7008, "Clear All"},  // call records and log: clear all
    {7009, "Name"},  // call records column: name
    {7010, "Number"},  // call records column: number
    {7011, "Date and Time"},  // column: date and time
    {7012, "Duration"},  // call records column: duration
    {7013, "Missed Calls"},  // call records caption: missed
    {7014, "Received Calls"},  // call records caption: received
    {7015, "Dialled Calls"},  // call records caption: dialled
    {7016, "dialled calls"},  // call records count: dialled
    {7017, "received calls"},  // call records count: received
    {7018, "missed calls"},  // call records count: missed
    {7021, "Delete the selected call records?"},  // call records delete question
    {7022, "Delete all records in this list?"},  // call records clear question
    {8001, "The text is too short. Please enter at least the minimum number of characters."},  // toolkit input too short
    {8021, "Minimum length:"},  // toolkit input: minimum
    {8022, "Maximum length:"},  // toolkit input: maximum
    {8023, "End"},  // toolkit: end session
    {9001, "Sending request"},  // USSD waiting text: sending
    {9003, "This USSD code is not supported."},  // USSD string not allowed
    {9004, "Network response: "},  // USSD answer heading
    {9005, "The session was ended by the network."},  // USSD answer: ended by the network
    {9006, "Answered by another application: "},  // USSD answer: another local client
    {9007, "This service is not supported."},  // USSD answer: not supported
    {9008, "The network did not respond in time."},  // USSD answer: time-out
    {9009, "Waiting for the network response"},  // USSD waiting text: waiting
    {9011, "The USSD request could not be sent."},  // USSD request refused
    {9012, "USSD command:"},  // USSD input label
    {9013, "Response:"},  // USSD answer label
    {0, nullptr},
};
