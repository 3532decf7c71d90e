Option Explicit
Private m_NewTitle AS String
Property Let Title(NewTitle as String)
'**********************************************************************
' Utility: Description of its utility
' 
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************

'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorTitle



m_NewTitle = NewTitle
'-----------------------------------
'- End and exit
TitleNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorTitle:
Msgbox Err.Description, , "Title"
       '-Resume
Resume TitleNext
'-----------------------------------
'End
End Property

Property Get Title( )AS String
'**********************************************************************
' Utility: Description of its utility
' 
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************

'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorTitle



Title = m_NewTitle
'-----------------------------------
'- End and exit
TitleNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorTitle:
Msgbox Err.Description, , "Title"
       '-Resume
Resume TitleNext
'-----------------------------------
'End
End Property