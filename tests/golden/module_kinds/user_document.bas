Option Explicit

Private Const LIMIT As Long = 10
Private m_NewFont AS StdFont
Private Sub UserDocument_ReadProperties (PropBag As PropertyBag)
Set m_NewFont = PropBag.ReadProperty ("Font")
End Sub
Private Sub UserDocument_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Font", m_NewFont
End Sub
Property Set Font(NewFont as StdFont)
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
On Error Goto ErrorFont



Set m_NewFont = NewFont
PropertyChanged "Font"
'-----------------------------------
'- End and exit
FontNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorFont:
Msgbox Err.Description, , "Font"
       '-Resume
Resume FontNext
'-----------------------------------
'End
End Property
Property Get Font( )AS StdFont
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
On Error Goto ErrorFont



Set Font = m_NewFont
'-----------------------------------
'- End and exit
FontNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorFont:
Msgbox Err.Description, , "Font"
       '-Resume
Resume FontNext
'-----------------------------------
'End
End Property

Public Sub Main()
    Debug.Print LIMIT
End Sub
