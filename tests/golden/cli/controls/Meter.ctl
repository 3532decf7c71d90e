VERSION 5.00
Begin VB.UserControl Meter 
   ClientHeight    =   600
   Begin VB.Label lblTitle 
      Caption         =   "Title"
   End
End
Attribute VB_Name = "Meter"
Attribute VB_Exposed = True
Option Explicit
Public Event Click()
Attribute Click.VB_UserMemId = -600
Private m_NewTitle AS String
Private Sub UserControl_ReadProperties (PropBag As PropertyBag)
m_NewTitle = PropBag.ReadProperty ("Title")
End Sub
Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Title", m_NewTitle
End Sub
Property Let Title(NewTitle as String)
'**********************************************************************
' Utility: Description of its utility
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
PropertyChanged "Title"
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

' The meter's caption.
Public Property Get Caption() As String
Attribute Caption.VB_UserMemId = 0
    Caption = lblTitle.Caption
End Property

Public Function Percent(ByVal Value As Long) As Long
    Percent = Value \ 100
End Function

Private Sub UserControl_Click()
    RaiseEvent Click
End Sub
